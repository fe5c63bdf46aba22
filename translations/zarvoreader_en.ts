<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>BarButton</name>
    <message>
        <source>暂不可用</source>
        <translation>Not available now</translation>
    </message>
</context>
<context>
    <name>BookCell</name>
    <message>
        <source>新书</source>
        <translation>New book</translation>
    </message>
    <message>
        <source>新</source>
        <translation>New</translation>
    </message>
    <message>
        <source>读到 %1%</source>
        <translation>%1% read</translation>
    </message>
</context>
<context>
    <name>BookSearchPage</name>
    <message>
        <source>请输入要找的字词</source>
        <translation>Enter a word to find</translation>
    </message>
    <message>
        <source>无法打开这一处</source>
        <translation>Cannot open this place</translation>
    </message>
    <message>
        <source>无法读取这本书 (%1)</source>
        <translation>Cannot read this book (%1)</translation>
    </message>
    <message>
        <source>正在搜索…已找到 %1 处</source>
        <translation>Searching… %1 found so far</translation>
    </message>
    <message>
        <source>没有找到“%1”</source>
        <translation>Nothing found for &quot;%1&quot;</translation>
    </message>
    <message>
        <source>只列出前 %1 处</source>
        <translation>Only the first %1 are listed</translation>
    </message>
    <message>
        <source>共找到 %1 处</source>
        <translation>Matches found: %1</translation>
    </message>
    <message>
        <source>书内搜索</source>
        <translation>Search in the book</translation>
    </message>
    <message>
        <source>字、词或句子</source>
        <translation>A word or a phrase</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
</context>
<context>
    <name>ConfirmDialog</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>知道了</source>
        <translation>Got it</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>DownloadBadgeButton</name>
    <message>
        <source>下载</source>
        <translation>Downloads</translation>
    </message>
    <message numerus="yes">
        <source>%n 本正在下载</source>
        <translation>
            <numerusform>%n downloading</numerusform>
            <numerusform>%n downloading</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DownloadPage</name>
    <message>
        <source>准备中</source>
        <translation>Preparing</translation>
    </message>
    <message>
        <source>下载中</source>
        <translation>Downloading</translation>
    </message>
    <message>
        <source>已暂停</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>已删除</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>已完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>等待中</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>下载失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>删除《%1》的下载任务和已下载的部分？</source>
        <translation>Delete the download of &quot;%1&quot; and the part already downloaded?</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>下载管理</source>
        <translation>Downloads</translation>
    </message>
    <message numerus="yes">
        <source>正在下载 %n 本</source>
        <translation>
            <numerusform>%n downloading</numerusform>
            <numerusform>%n downloading</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>共 %n 本</source>
        <translation>
            <numerusform>%n book</numerusform>
            <numerusform>%n books</numerusform>
        </translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>重试</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>没有下载任务</source>
        <translation>No downloads</translation>
    </message>
    <message>
        <source>下载功能暂不可用</source>
        <translation>Downloading is not available</translation>
    </message>
    <message>
        <source>在书城的图书详情页点“下载”，书就会出现在这里</source>
        <translation>Tap &quot;Download&quot; on a book&apos;s page in the store and the book appears here</translation>
    </message>
</context>
<context>
    <name>HttpManger</name>
    <message>
        <source>cannot open the partial file</source>
        <translation>cannot open the partial file</translation>
    </message>
    <message>
        <source>unexpected answer %1 to a request from byte %2</source>
        <translation>unexpected answer %1 to a request from byte %2</translation>
    </message>
    <message>
        <source>cannot write the partial file: %1</source>
        <translation>cannot write the partial file: %1</translation>
    </message>
    <message>
        <source>no usable answer</source>
        <translation>no usable answer</translation>
    </message>
    <message>
        <source>the package holds %1 bytes, not the %2 announced</source>
        <translation>the package holds %1 bytes, not the %2 announced</translation>
    </message>
    <message>
        <source>cannot move the partial file to %1</source>
        <translation>cannot move the partial file to %1</translation>
    </message>
</context>
<context>
    <name>IndexListPage</name>
    <message>
        <source>无法读取这一章 (%1)</source>
        <translation>Cannot read this chapter (%1)</translation>
    </message>
    <message>
        <source>删除这个书签？</source>
        <translation>Delete this bookmark?</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>书签</source>
        <translation>Bookmarks</translation>
    </message>
    <message>
        <source>删除这个书签</source>
        <translation>Delete this bookmark</translation>
    </message>
    <message>
        <source>这本书没有目录</source>
        <translation>This book has no contents list</translation>
    </message>
    <message>
        <source>还没有书签
阅读时点“加书签”即可添加</source>
        <translation>No bookmarks yet
Tap &quot;☆ Mark&quot; while reading</translation>
    </message>
</context>
<context>
    <name>PurchaseFlow</name>
    <message>
        <source>正在发送付款短信，请稍候</source>
        <translation>Sending the payment SMS, please wait</translation>
    </message>
    <message>
        <source>正在向书城下单，请稍候</source>
        <translation>Ordering from the store, please wait</translation>
    </message>
    <message>
        <source>下载功能暂不可用</source>
        <translation>Downloading is not available</translation>
    </message>
    <message>
        <source>《%1》已在下载列表中</source>
        <translation>&quot;%1&quot; is already in the downloads</translation>
    </message>
    <message>
        <source>存储空间不足，无法下载《%1》。删除一些书后再试。</source>
        <translation>Not enough space to download &quot;%1&quot;. Delete some books and try again.</translation>
    </message>
    <message>
        <source>《%1》已在设备上，重新下载会覆盖它。要继续吗？</source>
        <translation>&quot;%1&quot; is already on this device. Downloading it again replaces it. Go on?</translation>
    </message>
    <message>
        <source>覆盖</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>已加入下载列表</source>
        <translation>Added to the downloads</translation>
    </message>
    <message>
        <source>购买这本书需要发送一条付费短信。要购买吗？</source>
        <translation>Buying this book sends a paid text message. Buy it?</translation>
    </message>
    <message>
        <source>购买</source>
        <translation>Buy</translation>
    </message>
    <message>
        <source>购买这本书需要付费。要购买吗？</source>
        <translation>This book is not free. Buy it?</translation>
    </message>
    <message>
        <source>确认购买</source>
        <translation>Buy now</translation>
    </message>
    <message>
        <source>书城没有回应，请稍后再试</source>
        <translation>The store did not answer. Please try again later</translation>
    </message>
    <message>
        <source>正在发送付款短信…</source>
        <translation>Sending the payment SMS…</translation>
    </message>
</context>
<context>
    <name>ReadingPage</name>
    <message>
        <source>无法读取这一章 (%1)</source>
        <translation>Cannot read this chapter (%1)</translation>
    </message>
    <message>
        <source>已经是最后一页</source>
        <translation>This is the last page</translation>
    </message>
    <message>
        <source>无法读取下一章 (%1)</source>
        <translation>Cannot read the next chapter (%1)</translation>
    </message>
    <message>
        <source>已经是第一页</source>
        <translation>This is the first page</translation>
    </message>
    <message>
        <source>无法读取上一章 (%1)</source>
        <translation>Cannot read the previous chapter (%1)</translation>
    </message>
    <message>
        <source>已添加书签</source>
        <translation>Bookmark added</translation>
    </message>
    <message>
        <source>已删除书签</source>
        <translation>Bookmark removed</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>第 %1/%2 章  %3%</source>
        <translation>Ch. %1/%2  %3%</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>书签</source>
        <translation>Bookmarks</translation>
    </message>
    <message>
        <source>加书签</source>
        <translation>Add bookmark</translation>
    </message>
    <message>
        <source>★ 已加书签</source>
        <translation>★ Marked</translation>
    </message>
    <message>
        <source>☆ 加书签</source>
        <translation>☆ Mark</translation>
    </message>
    <message>
        <source>在书中搜索</source>
        <translation>Search in the book</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
</context>
<context>
    <name>RecommendPage</name>
    <message>
        <source>推荐书单</source>
        <translation>Recommended</translation>
    </message>
    <message>
        <source>第 %1 / %2 页</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message numerus="yes">
        <source>共 %n 本</source>
        <translation>
            <numerusform>%n book</numerusform>
            <numerusform>%n books</numerusform>
        </translation>
    </message>
    <message>
        <source>正在加载下一页…</source>
        <translation>Loading the next page…</translation>
    </message>
    <message>
        <source>下一页没有加载成功，点这里重试</source>
        <translation>The next page did not load. Tap to try again</translation>
    </message>
    <message numerus="yes">
        <source>已经到底了，共 %n 本</source>
        <translation>
            <numerusform>That is all: %n book</numerusform>
            <numerusform>That is all: %n books</numerusform>
        </translation>
    </message>
    <message>
        <source>上拉加载更多</source>
        <translation>Pull up for more</translation>
    </message>
    <message>
        <source>这个书单还没有书</source>
        <translation>This list has no books yet</translation>
    </message>
</context>
<context>
    <name>ResultWords</name>
    <message>
        <source>无法连接书城，请检查网络后重试</source>
        <translation>Cannot reach the store. Check the network and try again</translation>
    </message>
    <message>
        <source>书城暂时找不到这项内容</source>
        <translation>The store cannot find this at the moment</translation>
    </message>
    <message>
        <source>出了点问题，请稍后再试</source>
        <translation>Something went wrong. Please try again later</translation>
    </message>
    <message>
        <source>书城没能提供这项内容（代码 %1）</source>
        <translation>The store could not provide this (code %1)</translation>
    </message>
    <message>
        <source>付款短信没有发出，这次购买没有完成</source>
        <translation>The payment SMS was not sent, so the purchase did not go through</translation>
    </message>
    <message>
        <source>书城没有给出这本书的下载信息，请稍后再试</source>
        <translation>The store gave no download details for this book. Please try again later</translation>
    </message>
    <message>
        <source>书城没有受理这次购买（代码 %1）</source>
        <translation>The store did not accept this purchase (code %1)</translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>下载覆盖提醒</source>
        <translation>Ask before replacing</translation>
    </message>
    <message>
        <source>下载的书已在设备上时，覆盖之前先询问我</source>
        <translation>When a book I download is already on this device, ask me before replacing it</translation>
    </message>
    <message>
        <source>夜间阅读</source>
        <translation>Night reading</translation>
    </message>
    <message>
        <source>浅色</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>深色</source>
        <translation>Dark</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>System</translation>
    </message>
</context>
<context>
    <name>ShelfPage</name>
    <message>
        <source>这本书现在无法打开</source>
        <translation>This book cannot be opened now</translation>
    </message>
    <message>
        <source>从书架和设备上删除《%1》？</source>
        <translation>Delete &quot;%1&quot; from the shelf and this device?</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>无法删除这本书</source>
        <translation>Cannot delete this book</translation>
    </message>
    <message>
        <source>书架</source>
        <translation>Shelf</translation>
    </message>
    <message>
        <source>书城</source>
        <translation>Store</translation>
    </message>
    <message>
        <source>排序</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>书架上还没有书</source>
        <translation>No books on the shelf yet</translation>
    </message>
    <message>
        <source>把 .vbp 书放进书籍文件夹，或从书城下载</source>
        <translation>Put .vbp books in the books folder, or download them from the store</translation>
    </message>
    <message>
        <source>按作者</source>
        <translation>By author</translation>
    </message>
    <message>
        <source>按书名</source>
        <translation>By title</translation>
    </message>
    <message>
        <source>默认顺序</source>
        <translation>Default order</translation>
    </message>
</context>
<context>
    <name>StoreAccountPage</name>
    <message>
        <source>我的账户</source>
        <translation>My account</translation>
    </message>
    <message>
        <source>读</source>
        <translation>R</translation>
    </message>
    <message>
        <source>书城读者</source>
        <translation>Store reader</translation>
    </message>
    <message>
        <source>账户信息由书城提供</source>
        <translation>Account details come from the store</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>书城没有返回账户信息</source>
        <translation>The store sent no account details</translation>
    </message>
</context>
<context>
    <name>StoreCover</name>
    <message>
        <source>《%1》的封面</source>
        <translation>Cover of &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>StoreDetailsPage</name>
    <message numerus="yes">
        <source>共 %n 章</source>
        <translation>
            <numerusform>%n chapter</numerusform>
            <numerusform>%n chapters</numerusform>
        </translation>
    </message>
    <message>
        <source>图书详情</source>
        <translation>Book details</translation>
    </message>
    <message>
        <source>作者</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>出版</source>
        <translation>Publisher</translation>
    </message>
    <message>
        <source>章节</source>
        <translation>Chapters</translation>
    </message>
    <message>
        <source>价格</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>正在下单…</source>
        <translation>Ordering…</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>购买下载（%1）</source>
        <translation>Buy and download (%1)</translation>
    </message>
    <message>
        <source>内容简介</source>
        <translation>About this book</translation>
    </message>
    <message>
        <source>暂无简介</source>
        <translation>No description yet</translation>
    </message>
</context>
<context>
    <name>StorePage</name>
    <message>
        <source>书城</source>
        <translation>Store</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>我的</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>编辑推荐</source>
        <translation>Editor&apos;s picks</translation>
    </message>
    <message>
        <source>更多</source>
        <translation>More</translation>
    </message>
    <message>
        <source>更多 ›</source>
        <translation>More ›</translation>
    </message>
    <message>
        <source>这个分类还没有书</source>
        <translation>This category has no books yet</translation>
    </message>
</context>
<context>
    <name>StoreResultsPage</name>
    <message>
        <source>上一页</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>‹ 上一页</source>
        <translation>‹ Previous</translation>
    </message>
    <message>
        <source>正在加载…</source>
        <translation>Loading…</translation>
    </message>
    <message numerus="yes">
        <source>已显示 %n 本</source>
        <translation>
            <numerusform>%n book shown</numerusform>
            <numerusform>%n books shown</numerusform>
        </translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>下一页 ›</source>
        <translation>Next ›</translation>
    </message>
    <message>
        <source>正在搜索…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>没有找到相关的书，换个关键词试试</source>
        <translation>No books found. Try another word</translation>
    </message>
</context>
<context>
    <name>StoreSearchPage</name>
    <message>
        <source>请输入书名或作者</source>
        <translation>Enter a title or an author</translation>
    </message>
    <message>
        <source>搜索书城</source>
        <translation>Search the store</translation>
    </message>
    <message>
        <source>书名或作者</source>
        <translation>Title or author</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>大家都在搜</source>
        <translation>Popular searches</translation>
    </message>
    <message>
        <source>正在获取热门搜索…</source>
        <translation>Getting popular searches…</translation>
    </message>
    <message>
        <source>书城暂时没有推荐的关键词</source>
        <translation>The store has no suggested searches now</translation>
    </message>
</context>
<context>
    <name>StoreStatus</name>
    <message>
        <source>正在连接书城…</source>
        <translation>Connecting to the store…</translation>
    </message>
    <message>
        <source>这里还没有书</source>
        <translation>No books here yet</translation>
    </message>
    <message>
        <source>重试</source>
        <translation>Try again</translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
</context>
</TS>
