/* huecode: a text as colour-gradient markup for boards, servers and chats.
 *
 * The C interface of libhuecode (C99, usable from C++ and from any
 * language's foreign-function layer). Every text is UTF-8. Every function
 * may be called from any thread; none keeps state between calls.
 *
 * Errors are values: a function that can fail returns HUECODE_OK or an error
 * code, and when given a place for it, an error object whose message names
 * what was wrong, worded as huecode-cli words it. Nothing is written to
 * standard output or standard error, and a failed call reports no partial
 * result as success. See docs/library.md for the stability promise. */
#ifndef HUECODE_HUECODE_H
#define HUECODE_HUECODE_H

#include <stddef.h>

#if defined(_WIN32)
#define HUECODE_API
#elif defined(HUECODE_BUILDING_LIBRARY)
#define HUECODE_API __attribute__((visibility("default")))
#else
#define HUECODE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* What a call returned. New codes may be added in a minor version. */
typedef enum huecode_status {
  HUECODE_OK = 0,
  HUECODE_ERROR_OPTION = 1,   /* an option's value, or options that contradict each other */
  HUECODE_ERROR_INPUT = 2,    /* a text that is not UTF-8, markup that cannot be read,
                                 a --fit limit nothing fits */
  HUECODE_ERROR_ARGUMENT = 3, /* a null pointer where none is allowed, an options struct
                                 of an unknown size */
  HUECODE_ERROR_WRITE = 4,    /* the writer returned something other than 0 */
  HUECODE_ERROR_MEMORY = 5    /* the library ran out of memory */
} huecode_status;

/* An error: its code and a one-line UTF-8 message. Freed with huecode_error_free. */
typedef struct huecode_error huecode_error;

HUECODE_API huecode_status huecode_error_code(const huecode_error* error);
/* Valid until the error is freed. */
HUECODE_API const char* huecode_error_message(const huecode_error* error);
/* Takes NULL as well. */
HUECODE_API void huecode_error_free(huecode_error* error);

/* Passed as a text's size: the text ends at its first NUL byte. */
#define HUECODE_NUL_TERMINATED ((size_t)-1)

/* The options of a conversion, named and valued as huecode-cli's are: each
 * text field is that option's value as it would be typed (NULL when the
 * option is not given), each int field a flag (0 off, anything else on).
 * Fields are only ever added at the end. huecode_options_init zeroes the
 * struct and sets size to the caller's sizeof, so that a library older than
 * the caller's header reads what it knows and refuses, as an
 * HUECODE_ERROR_ARGUMENT, any newer field that is not left at zero. */
typedef struct huecode_options {
  size_t size;
  const char* preset; /* --preset: a dialect's key, as huecode_dialect_at lists */
  const char* format; /* --format: a format string for each chunk */
  const char* prefix; /* --prefix, --middle, --suffix: a template of one's own */
  const char* middle;
  const char* suffix;
  const char* start;      /* --start: RRGGBB, '#' optional (default FF00FF) */
  const char* end;        /* --end: RRGGBB (default 00FF00) */
  const char* const* via; /* --via: via_count stops COLOUR or COLOUR@POSITION */
  size_t via_count;
  const char* step;  /* --step: read as the window's step box reads it (default "1") */
  const char* space; /* --space: "rgb" or "oklab" */
  const char* by;    /* --by: "char", "grapheme" or "word" */
  const char* fit;   /* --fit: the most characters the markup may have */
  int rainbow;       /* --rainbow */
  int merge;         /* --merge */
  int escape;        /* --escape */
  int bold;          /* --bold, --italic, --underline, --strike */
  int italic;
  int underline;
  int strike;
  int endpoints; /* --endpoints */
  int per_line;  /* --per-line */
  int mirror;    /* --mirror */
} huecode_options;

/* Every option off (all zero), and options->size set to size, which is the
 * caller's sizeof(huecode_options): use HUECODE_OPTIONS_INIT. */
HUECODE_API void huecode_options_init(huecode_options* options, size_t size);
#define HUECODE_OPTIONS_INIT(options) huecode_options_init((options), sizeof *(options))

/* Receives the markup piece by piece, in order, as it is made. Returns 0 to
 * go on; anything else stops the conversion, which then fails with
 * HUECODE_ERROR_WRITE. */
typedef int (*huecode_writer)(void* context, const char* bytes, size_t size);

/* Converts text (size bytes, or HUECODE_NUL_TERMINATED) into markup handed
 * to write as it streams; the markup has no line break of its own at the end.
 * options may be NULL (every default); text may be NULL when size is 0; error
 * may be NULL. On failure *error (when given) holds the error, else NULL.
 * Usage and input errors are found before anything is written. */
HUECODE_API huecode_status huecode_convert(const char* text, size_t size,
                                           const huecode_options* options, huecode_writer write,
                                           void* context, huecode_error** error);

/* The same into a buffer the library allocates: *markup is NUL-terminated,
 * *markup_size (when not NULL) its length without the NUL; free it with
 * huecode_free. On failure *markup is NULL. */
HUECODE_API huecode_status huecode_convert_alloc(const char* text, size_t size,
                                                 const huecode_options* options, char** markup,
                                                 size_t* markup_size, huecode_error** error);

/* Markup read back to its plain text: in the dialect, template or format that
 * options->preset, prefix, middle, suffix or format name, else in the one
 * found in the markup; options->escape decodes entities in the BBCode
 * dialects too. Markup it cannot read is HUECODE_ERROR_INPUT, saying where.
 * The other options are not read. *text as in huecode_convert_alloc. */
HUECODE_API huecode_status huecode_strip(const char* markup, size_t size,
                                         const huecode_options* options, char** text,
                                         size_t* text_size, huecode_error** error);

/* The note huecode-cli prints on standard error about the text's own codes:
 * the first sequence of the text that the destination reads as a code (a
 * server's &l, a Minecraft client's section-sign codes, MiniMessage's <b>,
 * a tag in an HTML dialect), where it is and what it becomes, as the
 * conversion with these options writes it, such as "note: \"&l\" in the
 * text (line 1, column 2) is a code where legacy markup is read: bold;
 * --escape shows it as typed". *note is "" when the text has none (or
 * options->escape shows them all as typed); otherwise as in
 * huecode_convert_alloc. */
HUECODE_API huecode_status huecode_code_note(const char* text, size_t size,
                                             const huecode_options* options, char** note,
                                             size_t* note_size, huecode_error** error);

/* Frees what huecode_convert_alloc, huecode_strip and huecode_code_note
 * allocated; takes NULL. */
HUECODE_API void huecode_free(void* memory);

/* Where a dialect writes bold, italic, underline and strikethrough. */
typedef enum huecode_style_placement {
  HUECODE_STYLES_NONE = 0,   /* it has no formatting codes */
  HUECODE_STYLES_AROUND = 1, /* once around the coloured text */
  HUECODE_STYLES_IN_TAG = 2  /* in every colour tag */
} huecode_style_placement;

/* How the dialect's readers take HTML entities. */
typedef enum huecode_entities {
  HUECODE_ENTITIES_DECODED = 0,    /* always (the markup is HTML) */
  HUECODE_ENTITIES_ON_REQUEST = 1, /* --escape writes them and they show as characters */
  HUECODE_ENTITIES_NEVER = 2       /* never: --escape uses the dialect's own means, if any */
} huecode_entities;

/* One dialect and its facts; every text is UTF-8 and lives as long as the
 * library is loaded. Fields are only ever added at the end. */
typedef struct huecode_dialect {
  const char* key;           /* what --preset takes */
  const char* label;         /* its name in Chinese */
  const char* english_label; /* its name in English */
  const char* prefix;        /* its template: prefix RRGGBB middle chunk suffix */
  const char* middle;
  const char* suffix;
  const char* format;  /* or a format string (then the three parts are empty) */
  const char* example; /* the chunk "a" in FF00FF, as --list-presets shows it */
  huecode_entities entities;
  huecode_style_placement styles;
  const char* codes[4]; /* bold, italic, underline, strikethrough; "" where it has none */
} huecode_dialect;

/* The dialect at index (from 0, in the order huecode-cli --list-presets
 * shows them), or NULL past the last. */
HUECODE_API const huecode_dialect* huecode_dialect_at(size_t index);

/* The library's version, "MAJOR.MINOR.PATCH". */
HUECODE_API const char* huecode_version(void);

#ifdef __cplusplus
}
#endif

#endif /* HUECODE_HUECODE_H */
