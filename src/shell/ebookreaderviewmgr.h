#ifndef EBOOKREADERVIEWMGR_H
#define EBOOKREADERVIEWMGR_H

#include <QQuickView>
#include <memory>

class DownLoadMng;
class EBookReaderApp;
class EBookReaderNetMgr;
class EBookSetting;
class MyBookShelf;
class SearchBookMgr;
class Timeproperty;
class VEBookReader;
class VorelEBookDatabaseEngine;
class VorelEBookShelfMgr;
class purchaseManager;
class ColorScheme;
class ReadingProgress;
class ScreenInhibitor;

// The one top-level view: builds every engine once, in a fixed order,
// publishes them to the screens and loads the top-level document.
class EBookReaderViewMgr : public QQuickView
{
    Q_OBJECT
    // The screen size as last measured by layoutChanged(). These replace the
    // window's own width and height for the screens and the meta-object.
    Q_PROPERTY(int width READ getWidth NOTIFY widthChanged)
    Q_PROPERTY(int height READ getHeight NOTIFY heightChanged)
    // False until the first frame has been shown: the screens leave what is
    // out of sight until then, so the shelf comes up sooner.
    Q_PROPERTY(bool firstFrameShown READ firstFrameShown NOTIFY firstFrameShownChanged)
public:
    EBookReaderViewMgr(EBookReaderApp *app, QWindow *parent);
    ~EBookReaderViewMgr() override;

    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    bool firstFrameShown() const { return m_firstFrameShown; }

    // Where the top-level document is looked for: beside the program's folder.
    static QString documentPath();

signals:
    void widthChanged();
    void heightChanged();
    void firstFrameShownChanged();

public slots:
    void layoutChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createEngines(EBookReaderApp *app);
    void noteFirstFrame();
    void loadDocument();
    void createNightReading();

    int m_width = 0;
    int m_height = 0;
    bool m_firstFrameShown = false;
    std::unique_ptr<MyBookShelf> m_myBookShelf;
    std::unique_ptr<VEBookReader> m_myBookReader;
    std::unique_ptr<VorelEBookShelfMgr> m_bookShelfMgr;
    std::unique_ptr<VorelEBookDatabaseEngine> m_db;
    // Owned through its parent, the network manager; deleted ahead of it.
    SearchBookMgr *m_searchBookMgr = nullptr;
    std::unique_ptr<EBookReaderNetMgr> m_bookReaderNetMgr;
    std::unique_ptr<purchaseManager> m_purchaseMgr;
    std::unique_ptr<DownLoadMng> m_downloadMng;
    std::unique_ptr<EBookSetting> m_setting;
    std::unique_ptr<Timeproperty> m_curTime;
    // Ours: progress of the open book, light or dark screens, and the screen
    // kept awake while reading.
    std::unique_ptr<ReadingProgress> m_readingProgress;
    std::unique_ptr<ColorScheme> m_colorScheme;
    std::unique_ptr<ScreenInhibitor> m_screenInhibitor;
};

#endif // EBOOKREADERVIEWMGR_H
