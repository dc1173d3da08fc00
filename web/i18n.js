// Every text the page shows, in Simplified Chinese (the window's own captions
// where it has them) and in English. Elements name their text with
// data-i18n; messages built at run time take their values as arguments.
const texts = {
  zh: {
    htmlLang: 'zh-CN',
    switchTo: 'English',
    switchLang: 'en',
    title: 'Brelvin留言彩色字体代码生成',
    text: '输入待转换文本',
    colours: '颜色',
    start: '起始颜色',
    end: '结束颜色',
    via: (n) => `中间颜色 ${n}`,
    addStop: '添加中间颜色',
    removeStop: (n) => `删除中间颜色 ${n}`,
    moveUp: (n) => `中间颜色 ${n} 上移`,
    moveDown: (n) => `中间颜色 ${n} 下移`,
    rainbow: '彩虹',
    space: '混合',
    endpoints: '起止恰好是所选颜色',
    bar: '渐色预览:',
    chunks: '分段',
    step: '字步长',
    by: '单位',
    byChar: '字符',
    byGrapheme: '用户感知字符',
    merge: '同色合并',
    limit: '长度上限',
    fit: '自动选择步长以不超过上限',
    format: '格式:',
    dialect: '方言',
    prefix: '前缀',
    middle: '中间',
    suffix: '后缀',
    bold: '粗体',
    italic: '斜体',
    underline: '下划线',
    strike: '删除线',
    stylesNone: '此方言没有粗体、斜体、下划线或删除线代码。',
    stylesOwnTemplate: '自定义模板没有格式代码:请选择一种方言。',
    escape: 'HTML 安全文本(&、<、> 写成实体)',
    escapeHint: '文本含有 < 或 &:HTML 方言会把它们当作标记。建议勾选“HTML 安全文本”。',
    convert: '转换',
    reset: '恢复默认设置',
    preview: '效果预览',
    previewCut: '预览只显示开头部分。',
    output: '代码:',
    copy: '复制到剪贴板',
    download: '下载 .txt',
    copied: '复制到剪贴板成功',
    copyRefused: '浏览器拒绝了复制:请在代码框中按 Ctrl+C(或长按选择“复制”),或者下载 .txt。',
    tooLong: (n) => `代码共 ${n} 字符,太长,不在此显示:请用“复制到剪贴板”或“下载 .txt”取得全部代码。`,
    counts: (c) => `输入 ${c.charactersIn} 字符,${c.colouredChunks} 个着色块,输出 ${c.outputCharacters} 字符(步长 ${c.step})`,
    fitChose: (step) => `已自动选择步长 ${step}`,
    overLimit: (c, limit) => `输出 ${c} 字符,超过上限 ${limit} 字符。`,
    nothingFits: (shortest, limit) => `无法满足上限 ${limit}:即使整段文字只用一个颜色也需要 ${shortest} 字符。`,
    resetDone: '已恢复默认设置',
    noWasm: '此浏览器无法运行转换程序(需要 WebAssembly)。',
  },
  en: {
    htmlLang: 'en',
    switchTo: '中文',
    switchLang: 'zh-CN',
    title: 'huecode: colour-gradient text for forums',
    text: 'Text to convert',
    colours: 'Colours',
    start: 'Start colour',
    end: 'End colour',
    via: (n) => `Colour stop ${n}`,
    addStop: 'Add a colour stop',
    removeStop: (n) => `Remove colour stop ${n}`,
    moveUp: (n) => `Move colour stop ${n} up`,
    moveDown: (n) => `Move colour stop ${n} down`,
    rainbow: 'Rainbow',
    space: 'Blend in',
    endpoints: 'Start and end exactly on the chosen colours',
    bar: 'Gradient:',
    chunks: 'Chunks',
    step: 'Characters per colour',
    by: 'Count',
    byChar: 'characters',
    byGrapheme: 'user-perceived characters',
    merge: 'Merge neighbours of one colour',
    limit: 'Length limit',
    fit: 'Choose the step that fits the limit',
    format: 'Format:',
    dialect: 'Dialect',
    prefix: 'Prefix',
    middle: 'Middle',
    suffix: 'Suffix',
    bold: 'Bold',
    italic: 'Italic',
    underline: 'Underline',
    strike: 'Strikethrough',
    stylesNone: 'This dialect has no codes for bold, italic, underline or strikethrough.',
    stylesOwnTemplate: 'A template of your own has no formatting codes: pick a dialect.',
    escape: 'HTML-safe text (&, < and > as entities)',
    escapeHint: 'The text has < or &, which an HTML dialect reads as markup: tick “HTML-safe text”.',
    convert: 'Convert',
    reset: 'Reset settings',
    preview: 'Preview',
    previewCut: 'The preview shows the beginning only.',
    output: 'Markup:',
    copy: 'Copy to clipboard',
    download: 'Download .txt',
    copied: 'Copied to the clipboard',
    copyRefused: 'The browser refused to copy: select the markup and press Ctrl+C (or long-press and choose Copy), or download it.',
    tooLong: (n) => `The markup has ${n} characters, too many to show here: copy or download it to get all of it.`,
    counts: (c) => `${c.charactersIn} characters in, ${c.colouredChunks} coloured chunks, ${c.outputCharacters} characters out (step ${c.step})`,
    fitChose: (step) => `The limit chose step ${step}`,
    overLimit: (c, limit) => `The markup has ${c} characters, more than the limit of ${limit}.`,
    nothingFits: (shortest, limit) => `Nothing fits ${limit} characters: even one colour for the whole text needs ${shortest}.`,
    resetDone: 'Settings reset',
    noWasm: 'This browser cannot run the converter (it needs WebAssembly).',
  },
};

export const languages = Object.keys(texts);

// Chinese unless the browser asks for another language first.
export function defaultLanguage(preferred) {
  const first = (preferred ?? [])[0] ?? 'zh';
  return first.toLowerCase().startsWith('zh') ? 'zh' : 'en';
}

export function textsOf(language) {
  return texts[language] ?? texts.zh;
}

export function applyTexts(root, language) {
  const t = textsOf(language);
  root.documentElement.lang = t.htmlLang;
  for (const element of root.querySelectorAll('[data-i18n]')) {
    element.textContent = t[element.dataset.i18n];
  }
  return t;
}
