/* Converts a file through libhuecode's streaming interface, the markup
 * handed to a writer into standard output, as huecode-cli writes it: for
 * bench/library.sh. Usage: library_bench FILE */
#include <huecode/huecode.h>
#include <stdio.h>
#include <stdlib.h>

static int write_out(void* stream, const char* bytes, size_t size) {
  return fwrite(bytes, 1, size, (FILE*)stream) == size ? 0 : 1;
}

int main(int argc, char** argv) {
  FILE* file = argc == 2 ? fopen(argv[1], "rb") : NULL;
  if (file == NULL || fseek(file, 0, SEEK_END) != 0) {
    return 2;
  }
  const long size = ftell(file);
  char* text = malloc((size_t)size);
  rewind(file);
  if (text == NULL || fread(text, 1, (size_t)size, file) != (size_t)size) {
    return 2;
  }
  huecode_error* error = NULL;
  if (huecode_convert(text, (size_t)size, NULL, write_out, stdout, &error) != HUECODE_OK) {
    fprintf(stderr, "library_bench: %s\n", huecode_error_message(error));
    return 1;
  }
  free(text);
  fclose(file);
  return fflush(stdout) == 0 ? 0 : 1;
}
