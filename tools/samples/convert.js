#!/usr/bin/env node
// Turns the chinese-poetry corpus into JSON book descriptions for "vbp pack":
//   node convert.js DIST_DIR OUT_DIR
// writes OUT_DIR/<book id>.json for every sample book;
//   node convert.js --poets DIST_DIR OUT_DIR
// writes the store's poet collections instead: the most prolific Tang poets and
// Song ci poets, in volumes of at most VOLUME_SIZE pieces. Plain Node, no
// modules beyond the standard library, and the same corpus always gives the
// same files.
'use strict';

const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

const PUBLISHER = 'ZarvoReader 样书';
// Chinese typesetting indents a paragraph by two full-width spaces.
const INDENT = '\u3000\u3000';

function readJson(dist, file) {
  return JSON.parse(fs.readFileSync(path.join(dist, file), 'utf8'));
}

const DIGITS = ['零', '一', '二', '三', '四', '五', '六', '七', '八', '九'];

// 1 → 一, 10 → 十, 12 → 十二, 20 → 二十, 58 → 五十八 (up to 99 is all we need).
function chineseNumber(n) {
  if (n < 10) return DIGITS[n];
  const tens = Math.floor(n / 10);
  const ones = n % 10;
  return (tens > 1 ? DIGITS[tens] : '') + '十' + (ones ? DIGITS[ones] : '');
}

function clean(text) {
  return String(text == null ? '' : text).trim();
}

function prose(title, paragraphs) {
  const lines = [title, ''];
  for (const p of paragraphs) {
    const t = clean(p);
    if (t) lines.push(INDENT + t);
  }
  return lines.join('\n') + '\n';
}

// A poem: its title, the author line when known, then its lines.
function poem(title, author, lines) {
  const out = [clean(title)];
  if (clean(author)) out.push(clean(author));
  for (const l of lines) {
    const t = clean(l);
    if (t) out.push(t);
  }
  return out.join('\n');
}

// A chapter of poems: heading, then the poems separated by blank lines.
function poemChapter(heading, poems) {
  return heading + '\n\n' + poems.join('\n\n') + '\n';
}

// Consecutive runs of items sharing a key, in corpus order.
function groupRuns(items, keyOf) {
  const groups = [];
  for (const item of items) {
    const key = keyOf(item);
    if (!groups.length || groups[groups.length - 1].key !== key) groups.push({ key, items: [] });
    groups[groups.length - 1].items.push(item);
  }
  return groups;
}

function lunyu(dist) {
  const chapters = readJson(dist, 'lunyu/lunyu.json').map((c) => ({
    title: clean(c.chapter),
    text: prose(clean(c.chapter), c.paragraphs),
  }));
  return {
    id: 'zr-lunyu',
    title: '论语',
    author: '孔子弟子及再传弟子',
    description:
      '记录孔子及其弟子言行的语录体著作，儒家经典“四书”之一，共二十篇，' +
      '集中体现了孔子的政治主张、伦理思想和教育原则。',
    chapters,
  };
}

function mengzi(dist) {
  const chapters = readJson(dist, 'sishuwujing/mengzi.json').map((c) => ({
    title: clean(c.chapter),
    text: prose(clean(c.chapter), c.paragraphs),
  }));
  return {
    id: 'zr-mengzi',
    title: '孟子',
    author: '孟子',
    description:
      '记录战国时期思想家孟子言行的著作，“四书”之一，共七篇十四卷，' +
      '主张仁政、性善，文辞雄辩，气势充沛。',
    chapters,
  };
}

function singleChapterBook(dist, file, meta) {
  const data = readJson(dist, file);
  const title = clean(data.chapter);
  return Object.assign({}, meta, { chapters: [{ title, text: prose(title, data.paragraphs) }] });
}

function daxue(dist) {
  return singleChapterBook(dist, 'sishuwujing/daxue.json', {
    id: 'zr-daxue',
    title: '大学',
    author: '曾子',
    description:
      '原为《礼记》中的一篇，宋代起与《中庸》《论语》《孟子》合称“四书”，' +
      '阐述明明德、亲民、止于至善及格物致知、修身齐家治国平天下之道。',
  });
}

function zhongyong(dist) {
  return singleChapterBook(dist, 'sishuwujing/zhongyong.json', {
    id: 'zr-zhongyong',
    title: '中庸',
    author: '子思',
    description:
      '原为《礼记》中的一篇，相传为孔子之孙子思所作，“四书”之一，' +
      '论述中和之道与修身诚意，是儒家心性之学的重要典籍。',
  });
}

function shijing(dist) {
  const groups = groupRuns(readJson(dist, 'shijing/shijing.json'), (p) => p.chapter + '·' + p.section);
  const chapters = groups.map((g) => ({
    title: g.key,
    text: poemChapter(g.key, g.items.map((p) => poem(p.title, '', p.content))),
  }));
  return {
    id: 'zr-shijing',
    title: '诗经',
    author: '佚名',
    description:
      '中国最早的诗歌总集，收录西周初年至春秋中叶的诗歌三百零五篇，' +
      '分风、雅、颂三部分，本书按国风各地与雅颂各什分章。',
    chapters,
  };
}

function chuci(dist) {
  const groups = groupRuns(readJson(dist, 'chuci/chuci.json'), (p) => p.section);
  const chapters = groups.map((g) => {
    const author = clean(g.items[0].author);
    // A section of one piece of the same name needs no second title line.
    const single = g.items.length === 1 && clean(g.items[0].title) === g.key;
    const body = single
      ? g.items[0].content.map(clean).filter(Boolean).join('\n')
      : g.items.map((p) => poem(p.title, '', p.content)).join('\n\n');
    return { title: g.key, text: g.key + '\n' + author + '\n\n' + body + '\n' };
  });
  return {
    id: 'zr-chuci',
    title: '楚辞',
    author: '屈原等',
    description:
      '西汉刘向辑录的楚地诗歌总集，以屈原作品为主，兼收宋玉、贾谊等人之作，' +
      '想象奇丽、情感深沉，与《诗经》并称“风骚”。',
    chapters,
  };
}

// Four-character phrases read in pairs: 天地玄黃，宇宙洪荒。
function pairedPhrases(phrases) {
  const lines = [];
  for (let i = 0; i < phrases.length; i += 2) {
    const second = phrases[i + 1];
    lines.push(clean(phrases[i]) + (second ? '，' + clean(second) + '。' : '。'));
  }
  return lines;
}

function sanzijing(dist) {
  const data = readJson(dist, 'mengxue/sanzijing-traditional.json');
  const title = clean(data.title);
  return {
    id: 'zr-sanzijing',
    title: '三字经',
    author: clean(data.author),
    description: '传统蒙学读物，三字一句、隔句押韵，内容涵盖伦理、历史、天文、地理等常识，本书为传统版。',
    chapters: [{ title, text: title + '\n\n' + data.paragraphs.map(clean).join('\n') + '\n' }],
  };
}

function qianziwen(dist) {
  const data = readJson(dist, 'mengxue/qianziwen.json');
  const title = clean(data.title);
  return {
    id: 'zr-qianziwen',
    title: '千字文',
    author: clean(data.author),
    description: '南朝梁周兴嗣奉命编成的韵文，由一千个不重复的汉字组成，四字一句，是流传最广的识字课本之一。',
    chapters: [{ title, text: title + '\n\n' + pairedPhrases(data.paragraphs).join('\n') + '\n' }],
  };
}

function tangshi300(dist) {
  const data = readJson(dist, 'mengxue/tangshisanbaishou.json');
  const chapters = data.content.map((group) => {
    const heading = clean(group.type);
    const poems = group.content.map((p) => poem(clean(p.subchapter) || clean(p.chapter), p.author, p.paragraphs));
    return { title: heading, text: poemChapter(heading, poems) };
  });
  return {
    id: 'zr-tangshi300',
    title: '唐诗三百首',
    author: '蘅塘退士 编',
    description: '清代孙洙（蘅塘退士）选编的唐诗选本，按五言、七言绝句、律诗、古诗及乐府分卷，是流传最广的唐诗读本。',
    chapters,
  };
}

function guwenguanzhi(dist) {
  const data = readJson(dist, 'mengxue/guwenguanzhi.json');
  const chapters = data.content.map((volume) => {
    const heading = clean(volume.title);
    const pieces = volume.content.map((a) => {
      const byline = [clean(a.source), clean(a.author)].filter(Boolean).join(' ');
      return prose(clean(a.chapter), a.paragraphs).replace('\n', '\n' + byline + '\n');
    });
    return { title: heading, text: heading + '\n\n' + pieces.join('\n') };
  });
  return {
    id: 'zr-guwenguanzhi',
    title: '古文观止',
    author: '吴楚材、吴调侯 编',
    description: clean((data.abstract || [])[0]) || '清代选编的古代散文选本，收文二百二十二篇，分十二卷。',
    chapters,
  };
}

function songci300(dist) {
  const ci = readJson(dist, 'songci/宋词三百首.json');
  const perChapter = 20;
  const chapters = [];
  for (let i = 0; i < ci.length; i += perChapter) {
    const heading = '卷' + chineseNumber(chapters.length + 1);
    const poems = ci.slice(i, i + perChapter).map((c) => poem(c.rhythmic, c.author, c.paragraphs));
    chapters.push({ title: heading, text: poemChapter(heading, poems) });
  }
  return {
    id: 'zr-songci300',
    title: '宋词三百首',
    author: '上彊村民 编',
    description: '近人朱祖谋（上彊村民）选编的宋词选本，收录两宋词人名作，每卷二十首，词牌、作者、词文俱全。',
    chapters,
  };
}

function quantangshi(dist) {
  const dir = path.join(dist, 'quantangshi');
  const files = fs
    .readdirSync(dir)
    .filter((f) => /^poet\.tang\.\d+\.json$/.test(f))
    .sort((a, b) => Number(a.split('.')[2]) - Number(b.split('.')[2]));
  const chapters = files.map((file, index) => {
    const heading = '第' + chineseNumber(index + 1) + '卷';
    const poems = readJson(dist, path.join('quantangshi', file)).map((p) => poem(p.title, p.author, p.paragraphs));
    return { title: heading, text: poemChapter(heading, poems) };
  });
  return {
    id: 'zr-quantangshi',
    title: '全唐诗',
    author: '彭定求等 编',
    description: '清康熙年间奉敕编修的唐诗总集，收录唐五代诗人两千余家、诗作近五万首，本书每卷收一千首。',
    chapters,
  };
}

// Poet collections for the store.
const TANG_POETS = 40;
const SONG_POETS = 20;
// One rule for every poet; 李白's 1207 poems make 21 volumes.
const VOLUME_SIZE = 60;
const CHAPTER_SIZE = 10;
// Not a poet: unknown or anonymous authors.
const NO_AUTHOR = new Set(['', '不詳', '不详', '無名氏', '无名氏', '佚名']);

// Ids come from this table, so they stay the same whatever else the corpus
// holds; the titles carry the simplified name, so a search in simplified
// characters finds a poet whose name the Tang corpus writes in traditional
// ones. A poet missing here gets a hash id and keeps the name as written.
const POET_NAMES = {
  白居易: ['baijuyi'], 杜甫: ['dufu'], 李白: ['libai'], 元稹: ['yuanzhen'],
  劉禹錫: ['liuyuxi', '刘禹锡'], 齊己: ['qiji', '齐己'], 貫休: ['guanxiu', '贯休'],
  易靜: ['yijing', '易静'], 陸龜蒙: ['luguimeng', '陆龟蒙'], 李商隱: ['lishangyin', '李商隐'],
  韋應物: ['weiyingwu', '韦应物'], 王建: ['wangjian'], 張祜: ['zhanghu', '张祜'], 杜牧: ['dumu'],
  錢起: ['qianqi', '钱起'], 許渾: ['xuhun', '许浑'], 姚合: ['yaohe'], 孟郊: ['mengjiao'],
  劉長卿: ['liuchangqing', '刘长卿'], 羅隱: ['luoyin', '罗隐'], 張籍: ['zhangji', '张籍'],
  皎然: ['jiaoran'], 皮日休: ['pirixiu'], 韓愈: ['hanyu', '韩愈'], 溫庭筠: ['wentingyun', '温庭筠'],
  賈島: ['jiadao', '贾岛'], 張說: ['zhangyue', '张说'], 司空圖: ['sikongtu', '司空图'],
  岑參: ['censhen', '岑参'], 王維: ['wangwei', '王维'], 韋莊: ['weizhuang', '韦庄'], 薛能: ['xueneng'],
  方干: ['fanggan'], 盧綸: ['lulun', '卢纶'], 王梵志: ['wangfanzhi'], 權德輿: ['quandeyu', '权德舆'],
  韓偓: ['hanwo', '韩偓'], 杜荀鶴: ['duxunhe', '杜荀鹤'], 鄭谷: ['zhenggu', '郑谷'], 呂巖: ['lvyan', '吕岩'],
  辛弃疾: ['xinqiji'], 苏轼: ['sushi'], 刘辰翁: ['liuchenweng'], 吴文英: ['wuwenying'],
  赵长卿: ['zhaochangqing'], 张炎: ['zhangyan'], 贺铸: ['hezhu'], 刘克庄: ['liukezhuang'],
  晏几道: ['yanjidao'], 吴潜: ['wuqian'], 朱敦儒: ['zhudunru'], 欧阳修: ['ouyangxiu'],
  张孝祥: ['zhangxiaoxiang'], 柳永: ['liuyong'], 陈允平: ['chenyunping'], 毛滂: ['maopang'],
  李曾伯: ['lizengbo'], 韩淲: ['hanbiao'], 黄庭坚: ['huangtingjian'], 魏了翁: ['weiliaoweng'],
};

function poetName(author) {
  const known = POET_NAMES[author];
  if (known) return { slug: known[0], display: known[1] || author };
  return { slug: 'h' + crypto.createHash('sha1').update(author).digest('hex').slice(0, 10), display: author };
}

// Every entry of the numbered files PREFIX.<n>.json in DIR, in file order.
function numberedEntries(dist, dir, prefix) {
  const pattern = new RegExp('^' + prefix.replace(/\./g, '\\.') + '\\.\\d+\\.json$');
  return fs
    .readdirSync(path.join(dist, dir))
    .filter((f) => pattern.test(f))
    .sort((a, b) => Number(a.split('.')[2]) - Number(b.split('.')[2]))
    .flatMap((f) => readJson(dist, path.join(dir, f)));
}

// The `count` authors with most entries, most first, ties by name.
function prolific(entries, count) {
  const byAuthor = new Map();
  for (const e of entries) {
    const author = clean(e.author);
    if (NO_AUTHOR.has(author)) continue;
    if (!byAuthor.has(author)) byAuthor.set(author, []);
    byAuthor.get(author).push(e);
  }
  return [...byAuthor.entries()]
    .sort((a, b) => b[1].length - a[1].length || (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0))
    .slice(0, count);
}

// Splits one poet's pieces into volumes; kind holds the id prefix and wording.
function poetVolumes(author, pieces, kind) {
  const name = poetName(author);
  const total = Math.ceil(pieces.length / VOLUME_SIZE);
  const volumes = [];
  for (let v = 0; v < total; ++v) {
    const slice = pieces.slice(v * VOLUME_SIZE, (v + 1) * VOLUME_SIZE);
    const chapters = [];
    for (let i = 0; i < slice.length; i += CHAPTER_SIZE) {
      const last = Math.min(i + CHAPTER_SIZE, slice.length);
      const heading =
        '第' + chineseNumber(i + 1) + (last > i + 1 ? '至' + chineseNumber(last) : '') + kind.unit;
      chapters.push({ title: heading, text: poemChapter(heading, slice.slice(i, last).map(kind.text)) });
    }
    volumes.push({
      id: kind.prefix + name.slug + '-' + String(v + 1).padStart(2, '0'),
      title: name.display + kind.collection + '（卷' + chineseNumber(v + 1) + '）',
      author,
      description:
        kind.era + name.display + '的作品，辑自' + kind.source + '，共' + chineseNumber(total) +
        '卷，本卷收' + kind.noun + chineseNumber(slice.length) + kind.unit + '。',
      chapters,
    });
  }
  return volumes;
}

function poetCollections(dist) {
  const tang = {
    prefix: 'zr-poet-', collection: '诗集', era: '唐代诗人', source: '《全唐诗》', noun: '诗', unit: '首',
    text: (p) => poem(p.title, '', p.paragraphs),
  };
  const song = {
    prefix: 'zr-ci-', collection: '词集', era: '宋代词人', source: '《全宋词》', noun: '词', unit: '首',
    text: (c) => poem(c.rhythmic, '', c.paragraphs),
  };
  const groups = [
    ...prolific(numberedEntries(dist, 'quantangshi', 'poet.tang'), TANG_POETS).map((g) => [g, tang]),
    ...prolific(numberedEntries(dist, 'songci', 'ci.song'), SONG_POETS).map((g) => [g, song]),
  ];
  return groups.flatMap(([[author, pieces], kind]) => poetVolumes(author, pieces, kind));
}

function writeBook(out, book) {
  if (!book.chapters.length) throw new Error(book.id + ': no chapters found in the corpus');
  fs.writeFileSync(path.join(out, book.id + '.json'), JSON.stringify(book, null, 1) + '\n');
  process.stdout.write(book.id + '\n');
}

const BOOKS = [lunyu, mengzi, daxue, zhongyong, shijing, chuci, sanzijing, qianziwen, tangshi300, guwenguanzhi, songci300, quantangshi];

function main() {
  const args = process.argv.slice(2);
  const poets = args[0] === '--poets';
  const [dist, out] = poets ? args.slice(1) : args;
  if (!dist || !out) {
    process.stderr.write('usage: node convert.js [--poets] DIST_DIR OUT_DIR\n');
    process.exit(64);
  }
  fs.mkdirSync(out, { recursive: true });
  const books = poets ? poetCollections(dist) : BOOKS.map((make) => make(dist));
  for (const book of books) writeBook(out, Object.assign({ publisher: PUBLISHER }, book));
}

main();
