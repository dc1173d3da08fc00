/* A program that uses libhuecode as another program would, built from the
 * installed tree as C (pkg-config) and as C++ (find_package); the source is
 * both. It takes huecode-cli's options and a text and writes what
 * huecode-cli would: the markup (or with --strip the text) and a line break,
 * and the note on the text's own codes on standard error, or on failure
 * "CODE: message" on standard error and huecode-cli's exit status.
 * "--bad-calls" runs the table of wrong calls instead, each of which must
 * come back as an error value. */
#include <huecode/huecode.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* An option's name and where its value goes: a text or a flag. */
typedef struct option_field {
  const char* name;
  size_t offset;
  int flag;
} option_field;

#define TEXT_FIELD(name, field) \
  { name, offsetof(huecode_options, field), 0 }
#define FLAG_FIELD(name, field) \
  { name, offsetof(huecode_options, field), 1 }

static const option_field fields[] = {
    TEXT_FIELD("--preset", preset),
    TEXT_FIELD("--format", format),
    TEXT_FIELD("--prefix", prefix),
    TEXT_FIELD("--middle", middle),
    TEXT_FIELD("--suffix", suffix),
    TEXT_FIELD("--start", start),
    TEXT_FIELD("--end", end),
    TEXT_FIELD("--step", step),
    TEXT_FIELD("--space", space),
    TEXT_FIELD("--by", by),
    TEXT_FIELD("--fit", fit),
    FLAG_FIELD("--rainbow", rainbow),
    FLAG_FIELD("--merge", merge),
    FLAG_FIELD("--escape", escape),
    FLAG_FIELD("--bold", bold),
    FLAG_FIELD("--italic", italic),
    FLAG_FIELD("--underline", underline),
    FLAG_FIELD("--strike", strike),
    FLAG_FIELD("--endpoints", endpoints),
    FLAG_FIELD("--per-line", per_line),
    FLAG_FIELD("--mirror", mirror),
};

static int write_to(void* stream, const char* bytes, size_t size) {
  return fwrite(bytes, 1, size, (FILE*)stream) == size ? 0 : 1;
}

static int stop_at_once(void* context, const char* bytes, size_t size) {
  (void)context;
  (void)bytes;
  (void)size;
  return 7;
}

/* Which status huecode-cli exits with for the same error. */
static int exit_status(huecode_status status) {
  return status == HUECODE_ERROR_OPTION ? 2 : status == HUECODE_ERROR_INPUT ? 1 : 3;
}

static int fail(huecode_status status, huecode_error* error) {
  fprintf(stderr, "%d: %s\n", (int)status, huecode_error_message(error));
  huecode_error_free(error);
  return exit_status(status);
}

/* Reads the options into options and via; returns the index of the text. */
static int read_options(int argc, char** argv, huecode_options* options, const char** via,
                        int* strip) {
  int k = 1;
  for (; k < argc && strcmp(argv[k], "--") != 0; ++k) {
    size_t f = 0;
    while (f < sizeof fields / sizeof fields[0] && strcmp(fields[f].name, argv[k]) != 0) {
      ++f;
    }
    char* place = (char*)options + fields[f < sizeof fields / sizeof fields[0] ? f : 0].offset;
    if (strcmp(argv[k], "--strip") == 0) {
      *strip = 1;
    } else if (strcmp(argv[k], "--via") == 0 && k + 1 < argc) {
      via[options->via_count++] = argv[++k];
    } else if (f == sizeof fields / sizeof fields[0] || (!fields[f].flag && k + 1 >= argc)) {
      fprintf(stderr, "huecode_user: unknown option %s\n", argv[k]);
      exit(3);
    } else if (fields[f].flag) {
      *(int*)(void*)place = 1;
    } else {
      *(const char**)(void*)place = argv[++k];
    }
  }
  return k + 1;
}

static int run(int argc, char** argv) {
  huecode_options options;
  const char* via[80];
  int strip = 0;
  huecode_error* error = NULL;
  HUECODE_OPTIONS_INIT(&options);
  options.via = (const char* const*)via;
  const int at = read_options(argc, argv, &options, via, &strip);
  const char* text = at < argc ? argv[at] : "";
  if (strip) {
    char* plain = NULL;
    size_t size = 0;
    const huecode_status status =
        huecode_strip(text, HUECODE_NUL_TERMINATED, &options, &plain, &size, &error);
    if (status != HUECODE_OK) {
      return fail(status, error);
    }
    fwrite(plain, 1, size, stdout);
    huecode_free(plain);
  } else {
    char* note = NULL;
    huecode_status status = huecode_convert(text, strlen(text), &options, write_to, stdout, &error);
    if (status == HUECODE_OK) {
      status = huecode_code_note(text, strlen(text), &options, &note, NULL, &error);
    }
    if (status != HUECODE_OK) {
      return fail(status, error);
    }
    if (note[0] != '\0') {
      fprintf(stderr, "%s\n", note);
    }
    huecode_free(note);
  }
  putchar('\n');
  return 0;
}

/* One wrong call and the status it must come back with: a text (NULL, or
 * with its size), one option set as the command line would set it (or a
 * wrong struct: "size 0", "newer field", "via NULL", "via entry NULL"), and
 * which call, with NULL for its output when asked. */
typedef enum call_kind { ALLOC, STREAM, STOPPED, STRIP, NOTE } call_kind;
typedef struct bad_call {
  call_kind kind;
  const char* text;
  size_t size;
  const char* option;
  const char* value;
  int null_out;
  huecode_status expected;
} bad_call;

#define NUL HUECODE_NUL_TERMINATED
static const bad_call bad_calls[] = {
    {ALLOC, NULL, 3, NULL, NULL, 0, HUECODE_ERROR_ARGUMENT},
    {ALLOC, NULL, 0, NULL, NULL, 0, HUECODE_OK},
    {ALLOC, NULL, NUL, NULL, NULL, 0, HUECODE_ERROR_ARGUMENT},
    {STREAM, "ab", 2, NULL, NULL, 1, HUECODE_ERROR_ARGUMENT},
    {ALLOC, "ab", 2, NULL, NULL, 1, HUECODE_ERROR_ARGUMENT},
    {STOPPED, "ab", 2, NULL, NULL, 0, HUECODE_ERROR_WRITE},
    {ALLOC, "a\x80", 2, NULL, NULL, 0, HUECODE_ERROR_INPUT},
    {ALLOC, "\xed\xa0\x80", 3, NULL, NULL, 0, HUECODE_ERROR_INPUT},
    {ALLOC, "\xc0\x80", 2, NULL, NULL, 0, HUECODE_ERROR_INPUT},
    {ALLOC, "\xe4\xbd", 2, NULL, NULL, 0, HUECODE_ERROR_INPUT},
    {ALLOC, "\xf4\x90\x80\x80", NUL, NULL, NULL, 0, HUECODE_ERROR_INPUT},
    {ALLOC, "a\0b", 3, NULL, NULL, 0, HUECODE_OK},
    {ALLOC, "ab", 2, "--start", "12345G", 0, HUECODE_ERROR_OPTION},
    {ALLOC, "ab", 2, "--preset", "nope", 0, HUECODE_ERROR_OPTION},
    {ALLOC, "ab", 2, "--format", "{text", 0, HUECODE_ERROR_OPTION},
    {ALLOC, "ab", 2, "--prefix", "\xff", 0, HUECODE_ERROR_INPUT},
    {ALLOC, "ab", 2, "--step", "\xc3", 0, HUECODE_ERROR_INPUT},
    {ALLOC, "ab", 2, "--fit", "-1", 0, HUECODE_ERROR_OPTION},
    {ALLOC, "ab", 2, "--fit", "3", 0, HUECODE_ERROR_INPUT},
    {ALLOC, "ab", 2, "--by", "", 0, HUECODE_ERROR_OPTION},
    {ALLOC, "ab", 2, "via NULL", NULL, 0, HUECODE_ERROR_ARGUMENT},
    {ALLOC, "ab", 2, "via entry NULL", NULL, 0, HUECODE_ERROR_ARGUMENT},
    {ALLOC, "ab", 2, "size 0", NULL, 0, HUECODE_ERROR_ARGUMENT},
    {ALLOC, "ab", 2, "newer field", NULL, 0, HUECODE_ERROR_ARGUMENT},
    {STRIP, NULL, 4, NULL, NULL, 0, HUECODE_ERROR_ARGUMENT},
    {STRIP, "[b]", 3, NULL, NULL, 1, HUECODE_ERROR_ARGUMENT},
    {STRIP, "[color=red]a", NUL, NULL, NULL, 0, HUECODE_ERROR_INPUT},
    {STRIP, "\xf8", 1, NULL, NULL, 0, HUECODE_ERROR_INPUT},
    {STRIP, "a", 1, "--preset", "nope", 0, HUECODE_ERROR_OPTION},
    {NOTE, "a&la", NUL, NULL, NULL, 1, HUECODE_ERROR_ARGUMENT},
    {NOTE, NULL, 2, NULL, NULL, 0, HUECODE_ERROR_ARGUMENT},
    {NOTE, "a\xc3", NUL, NULL, NULL, 0, HUECODE_ERROR_INPUT},
    {NOTE, "a&la", NUL, "--preset", "nope", 0, HUECODE_ERROR_OPTION},
    {NOTE, "ab", 2, "--fit", "3", 0, HUECODE_ERROR_INPUT},
    {NOTE, "a&la", NUL, "--preset", "legacy", 0, HUECODE_OK},
};

/* The caller's struct grown by a field this library does not know. */
typedef struct newer_options {
  huecode_options known;
  int later;
} newer_options;

static void set_option(newer_options* newer, const bad_call* row) {
  static const char* via[2] = {"FF0000", NULL};
  huecode_options* options = &newer->known;
  huecode_options_init(options, sizeof *newer);
  newer->later = row->option != NULL && strcmp(row->option, "newer field") == 0;
  options->size = newer->later ? sizeof *newer : sizeof *options;
  if (row->option == NULL || newer->later) {
    return;
  }
  if (strcmp(row->option, "size 0") == 0) {
    options->size = 0;
  } else if (strncmp(row->option, "via ", 4) == 0) {
    options->via = strcmp(row->option, "via NULL") == 0 ? NULL : (const char* const*)via;
    options->via_count = 2;
  } else {
    const char* argv[] = {"", row->option, row->value};
    const char* via_given[1];
    int strip = 0;
    read_options(3, (char**)(void*)argv, options, via_given, &strip);
  }
}

/* Calls the row's function; the output must be there exactly on success. */
static huecode_status call(const bad_call* row, huecode_error** error) {
  newer_options newer;
  char* out = NULL;
  huecode_status status;
  set_option(&newer, row);
  if (row->kind == STRIP) {
    status =
        huecode_strip(row->text, row->size, &newer.known, row->null_out ? NULL : &out, NULL, error);
  } else if (row->kind == NOTE) {
    status = huecode_code_note(row->text, row->size, &newer.known, row->null_out ? NULL : &out,
                               NULL, error);
  } else if (row->kind == ALLOC) {
    status = huecode_convert_alloc(row->text, row->size, &newer.known, row->null_out ? NULL : &out,
                                   NULL, error);
  } else {
    status = huecode_convert(row->text, row->size, &newer.known,
                             row->kind == STOPPED ? stop_at_once
                             : row->null_out      ? NULL
                                                  : write_to,
                             stdout, error);
  }
  if (row->kind != STREAM && row->kind != STOPPED && !row->null_out &&
      (status == HUECODE_OK) != (out != NULL)) {
    fprintf(stderr, "row %d: the output and the status disagree\n", (int)(row - bad_calls));
    exit(4);
  }
  huecode_free(out);
  return status;
}

/* Each call's status, and an error that says something exactly when it fails;
 * a call without a place for the error must fail the same way. */
static int run_bad_calls(void) {
  int wrong = 0;
  for (size_t k = 0; k < sizeof bad_calls / sizeof bad_calls[0]; ++k) {
    huecode_error* error = NULL;
    const huecode_status status = call(&bad_calls[k], &error);
    const int said = error != NULL && huecode_error_message(error)[0] != '\0' &&
                     huecode_error_code(error) == status;
    if (status != bad_calls[k].expected || said != (status != HUECODE_OK) ||
        call(&bad_calls[k], NULL) != status) {
      fprintf(stderr, "row %d: status %d, expected %d, message '%s'\n", (int)k, (int)status,
              (int)bad_calls[k].expected, huecode_error_message(error));
      wrong = 1;
    }
    huecode_error_free(error);
  }
  return wrong;
}

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "--bad-calls") == 0) {
    return run_bad_calls();
  }
  if (argc == 2 && strcmp(argv[1], "--version") == 0) {
    printf("huecode-cli %s\n", huecode_version());
    return 0;
  }
  if (argc == 2 && strcmp(argv[1], "--dialects") == 0) {
    for (size_t k = 0; huecode_dialect_at(k) != NULL; ++k) {
      printf("%s\n", huecode_dialect_at(k)->key);
    }
    return 0;
  }
  return run(argc, argv);
}
