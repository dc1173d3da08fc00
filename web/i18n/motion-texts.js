// The page's texts for a moving gradient: its section, the names of the
// core's directions and forms, the counts of one frame and of all frames,
// and why frames cannot be written.
export const motionTexts = {
  zh: {
    motion: '动画',
    moving: '让渐变沿文字流动（逐帧输出）',
    frames: '帧数',
    interval: '间隔（毫秒）',
    direction: '方向',
    directions: {left: '向左（流向文字开头）', right: '向右（流向文字结尾）'},
    form: '输出形式',
    forms: {lines: '每行一帧', yaml: 'YAML（Tab 列表、计分板插件）', json: 'JSON 数组'},
    animationName: '动画名称',
    motionHelp: '颜色走完一个往返周期后回到第一帧，末帧与首帧无缝衔接。含换行的文本需勾选“每行一个渐变”，每行各自流动。',
    play: '播放',
    pause: '暂停',
    playLabel: '播放或暂停预览中的动画',
    frameCounts: (c) => `${c.frames} 帧：输入 ${c.charactersIn} 字符，每帧 ${c.colouredChunks} 个着色块，最长一帧输出 ${c.outputCharacters} 字符，全部帧共 ${c.allCharacters} 字符（步长 ${c.step}）`,
    frameMeter: (m) => `最长一帧：${m.characters} 字符 · UTF-8 ${m.utf8} 字节 · GBK ${m.gbk} 字节；全部帧：${m.all.characters} 字符 · UTF-8 ${m.all.utf8} 字节 · GBK ${m.all.gbk} 字节`,
    frameOverLimit: (length, limit, unit) => `最长一帧有 ${length} ${unit}，超过了上限 ${limit} ${unit}。`,
    motionFaults: {
      lineBreak: '文本含有换行，而每一帧要填进单行的设置：请勾选“每行一个渐变”，让每行各自流动。',
      frames: '帧数超出范围。',
      interval: '间隔超出范围。',
    },
    motionFaultShort: '无法输出动画',
  },
  en: {
    motion: 'Motion',
    moving: 'Let the gradient flow along the text (frames)',
    frames: 'Frames',
    interval: 'Interval (ms)',
    direction: 'Direction',
    directions: {left: 'Left (towards the start of the text)', right: 'Right (towards its end)'},
    form: 'Output form',
    forms: {lines: 'One frame per line', yaml: 'YAML (tab-list and scoreboard plugins)', json: 'JSON array'},
    animationName: 'Animation name',
    motionHelp: 'The colours go there and back once over the frames, so the last frame leads into the first. ' +
      'A text with line breaks needs “A gradient per line”: each line then moves on its own.',
    play: 'Play',
    pause: 'Pause',
    playLabel: 'Play or pause the preview\'s animation',
    frameCounts: (c) => `${c.frames} frames: ${c.charactersIn} characters in, ${c.colouredChunks} coloured ` +
      `chunks a frame, ${c.outputCharacters} characters out in the longest frame, ${c.allCharacters} in all ` +
      `frames (step ${c.step})`,
    frameMeter: (m) => `Longest frame: ${m.characters} characters · ${m.utf8} UTF-8 bytes · ${m.gbk} GBK bytes; ` +
      `all frames: ${m.all.characters} characters · ${m.all.utf8} UTF-8 bytes · ${m.all.gbk} GBK bytes`,
    frameOverLimit: (length, limit, unit) => `The longest frame is ${length} ${unit}, over the limit of ${limit} ${unit}.`,
    motionFaults: {
      lineBreak: 'The text has line breaks, and each frame goes into a one-line setting: ' +
        'tick “A gradient per line” to move each line on its own.',
      frames: 'The number of frames is out of range.',
      interval: 'The interval is out of range.',
    },
    motionFaultShort: 'No frames',
  },
};
