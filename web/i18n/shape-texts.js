// The page's texts for the shapes of a gradient: stop positions, a gradient
// per line, there and back and the surprise gradient.
export const shapeTexts = {
  zh: {
    positionEven: '均匀',
    positionLabel: (n) => `中间颜色 ${n} 的位置（百分比，留空则均匀分布）`,
    positionErrors: {
      notNumber: '请输入 0 到 100 之间的数，最多两位小数，或留空。',
      outOfRange: '位置必须在 0 到 100 之间。',
      outOfOrder: '位置不能在前一个颜色之前。',
    },
    markerLabel: (name) => `${name} 在渐变条上的位置`,
    markerValue: (percent) => `${percent}%`,
    perLine: '每行一个渐变',
    mirror: '往返渐变',
    shuffle: '随机渐变',
    shuffled: '已生成随机渐变（可撤销）。',
  },
  en: {
    positionEven: 'even',
    positionLabel: (n) => `Position of colour stop ${n} (percent; empty for evenly spaced)`,
    positionErrors: {
      notNumber: 'Type a number from 0 to 100 with at most two decimals, or leave it empty.',
      outOfRange: 'A position lies between 0 and 100.',
      outOfOrder: 'A position cannot lie before the stop before it.',
    },
    markerLabel: (name) => `${name} on the gradient bar`,
    markerValue: (percent) => `${percent}%`,
    perLine: 'A gradient per line',
    mirror: 'There and back',
    shuffle: 'Surprise me',
    shuffled: 'A random gradient (undo brings the last one back).',
  },
};
