// The shapes that travel between the page's modules, its worker and the
// extension, for the type checker (tsconfig.json): each is written here once
// and imported where it is used (/** @import {Settings} from … */). There is
// no code here.

/**
 * The settings the page keeps and a share link carries (shared/settings.js
 * has their defaults). null leaves a value to the core: its default gradient,
 * its initial template, the browser's language, evenly spaced stops.
 * @typedef {object} Settings
 * @property {string[] | null} stops colours as #RRGGBB
 * @property {boolean} rainbow
 * @property {string} space a colour space the core names (CoreFacts.spaces)
 * @property {string} step as typed
 * @property {string} by what a chunk is: a unit the core names (CoreFacts.units)
 * @property {boolean} merge
 * @property {boolean} escape
 * @property {boolean} bold
 * @property {boolean} italic
 * @property {boolean} underline
 * @property {boolean} strike
 * @property {boolean} endpoints
 * @property {string} limit as typed, '' for none
 * @property {string} limitUnit
 * @property {boolean} fit
 * @property {string | null} prefix
 * @property {string | null} middle
 * @property {string | null} suffix
 * @property {string} format a format string; when not empty it replaces the three boxes
 * @property {string} board 'light', 'dark' or 'custom'
 * @property {string} boardColour
 * @property {string | null} language
 * @property {string} theme
 * @property {(number | null)[] | null} positions percent per stop, null evenly between its neighbours
 * @property {boolean} perLine
 * @property {boolean} mirror
 * @property {boolean} moving frames of the gradient flowing along the text
 * @property {string | null} frames as typed
 * @property {string | null} interval milliseconds, as typed
 * @property {string | null} direction one of CoreFacts.motion.directions
 * @property {string | null} form one of CoreFacts.motion.forms
 * @property {string | null} animationName the YAML block's name
 */

/**
 * A moving gradient's limits and defaults, and the names of its choices, as the core states them.
 * @typedef {object} MotionFacts
 * @property {number} minFrames
 * @property {number} maxFrames
 * @property {number} defaultFrames
 * @property {number} minInterval
 * @property {number} maxInterval
 * @property {number} defaultInterval
 * @property {string} defaultName
 * @property {string[]} directions
 * @property {string} defaultDirection
 * @property {string[]} forms
 * @property {string[]} faults
 */

/**
 * One of the core's dialects, as its interface describes it.
 * @typedef {object} Dialect
 * @property {string} key
 * @property {string} label
 * @property {{zh: string, en: string}} labels
 * @property {string} prefix
 * @property {string} middle
 * @property {string} suffix
 * @property {string} format
 * @property {boolean} html
 * @property {string[]} styles
 * @property {Record<string, string>} codes
 * @property {string} entities
 */

/**
 * What the core tells the page of itself once its worker is ready
 * (core/convert.js, checked by core/interface.js).
 * @typedef {object} CoreLimits what the settings and gradients read from the core's facts
 * @property {number} [maxStops]
 * @property {string[]} [spaces]
 * @property {string[]} [units]
 * @property {string[]} [limitUnits]
 */

/**
 * @typedef {object} CoreFacts
 * @property {Dialect[]} dialects
 * @property {string} initialDialect
 * @property {{prefix: string, middle: string, suffix: string}} initial
 * @property {string[]} defaultStops
 * @property {number} maxStops
 * @property {string[]} units
 * @property {string[]} spaces
 * @property {string[]} limitUnits
 * @property {{light: string[], dark: string[]}} surprise
 * @property {string[]} styleNames
 * @property {MotionFacts} motion
 */

/**
 * A conversion as the page asks the core for it.
 * @typedef {object} ConversionRequest
 * @property {string[]} stops
 * @property {boolean} rainbow
 * @property {string} space
 * @property {string} step
 * @property {string} by
 * @property {boolean} merge
 * @property {number | null} fitLimit
 * @property {string} limitUnit
 * @property {string | null} prefix
 * @property {string | null} middle
 * @property {string | null} suffix
 * @property {string} format
 * @property {boolean} [escape]
 * @property {boolean} [endpoints]
 * @property {Record<string, boolean>} [styles]
 * @property {(number | null)[] | null} positions
 * @property {boolean} perLine
 * @property {boolean} mirror
 * @property {number} [previewUnits]
 * @property {number} [frames] 0 or none for a still gradient
 * @property {string} [direction]
 * @property {string} [form]
 * @property {number} [interval]
 * @property {string} [name]
 */

/**
 * The core's answer to a request (core/answer.js): the counts, the preview's
 * chunks, the bar and the markup, or where a format could not be read. A long
 * markup comes as its head first and as a Blob in a second message.
 * @typedef {object} ConversionAnswer
 * @property {number} [id]
 * @property {Record<string, number>} counts
 * @property {{characters: number, utf8: number, gbk: number,
 *   all?: {characters: number, utf8: number, gbk: number}} | null} lengths
 * @property {Int32Array} preview
 * @property {Int32Array} [previewFrames] a moving gradient's colours of the preview's chunks, frame after frame
 * @property {string | null} [motionFault] why the frames cannot be written
 * @property {string[]} bar
 * @property {boolean} [previewCut]
 * @property {boolean} [failed]
 * @property {{line: number, column: number, message: string} | null} [formatError]
 * @property {Uint16Array | null} [markup]
 * @property {Uint8Array} [head]
 * @property {Blob} [blob]
 */

/**
 * A gradient the user saved, or one of the gallery's (shared/gradients.js).
 * @typedef {object} SavedGradient
 * @property {string | {zh: string, en: string}} name
 * @property {string[]} stops
 * @property {string} space
 * @property {(number | null)[]} [positions]
 * @property {string} [format]
 * @property {{frames: string, interval: string, direction: string, form: string, name: string}} [motion]
 * @property {string} [board]
 * @property {string} [id]
 */

/**
 * A share link as read back (shared/share.js): the settings it carries and
 * could read, its text (null when it has none), its version (null when it
 * has none it can read) and the names of the fields it could not read.
 * @typedef {object} ShareLink
 * @property {Partial<Settings>} settings
 * @property {string | null} text
 * @property {number | null} version
 * @property {string[]} unreadable
 */

export {};
