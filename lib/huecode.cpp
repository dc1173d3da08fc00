// The C interface: each entry point checks its arguments, reads the options
// as huecode-cli does and runs the core, turning every failure into a value.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "library.h"
#include "options/utf8.h"

#ifndef HUECODE_VERSION
#error "HUECODE_VERSION must be defined by the build"
#endif

struct huecode_error {
  huecode_status code;
  std::string message;
};

namespace huecode::library {

namespace {

// Handed out when even the error cannot be allocated; never freed.
huecode_error g_outOfMemory{HUECODE_ERROR_MEMORY, "out of memory"};

// The bytes of a text given with its size or up to its NUL.
Result<std::string_view, Error> Bytes(const char* text, std::size_t size, const char* name) {
  if (text == nullptr) {
    if (size == 0) {
      return std::string_view();
    }
    return Error{
        HUECODE_ERROR_ARGUMENT,
        std::string(name) + " is NULL but its size is " +
            (size == HUECODE_NUL_TERMINATED ? "HUECODE_NUL_TERMINATED" : std::to_string(size))};
  }
  return size == HUECODE_NUL_TERMINATED ? std::string_view(text) : std::string_view(text, size);
}

// The markup's bytes grown with malloc, so that huecode_free can take them.
struct Buffer {
  char* data = nullptr;
  std::size_t size = 0;
  std::size_t capacity = 0;

  static int Append(void* context, const char* bytes, std::size_t count) {
    auto& buffer = *static_cast<Buffer*>(context);
    if (buffer.capacity - buffer.size <= count) {
      const std::size_t capacity = std::max(buffer.capacity * 2, buffer.size + count + 1);
      char* grown = static_cast<char*>(std::realloc(buffer.data, capacity));
      if (grown == nullptr) {
        return ENOMEM;
      }
      buffer.data = grown;
      buffer.capacity = capacity;
    }
    std::memcpy(buffer.data + buffer.size, bytes, count);
    buffer.size += count;
    buffer.data[buffer.size] = '\0';
    return 0;
  }
};

// The conversion the options ask for, planned as huecode-cli plans it.
Result<PlannedConversion, Error> Plan(std::string_view bytes, const huecode_options* options) {
  auto read = ReadOptions(options, false);
  if (!read) {
    return read.error();
  }
  auto settings = SettingsOfOptions(*read, Graphemes());
  if (!settings) {
    return FromFailure(settings.error());
  }
  auto text = DecodeText(bytes, "the text");
  if (!text) {
    return FromFailure(text.error());
  }
  settings->text = std::move(*text);
  auto planned = PlanConversion(*read, std::move(*settings));
  if (!planned) {
    return FromFailure(planned.error());
  }
  return std::move(*planned);
}

Error Stream(std::string_view bytes, const huecode_options* options, Utf8Sink::Writer write,
             void* context) {
  auto planned = Plan(bytes, options);
  if (!planned) {
    return planned.error();
  }
  Utf8Sink sink(write, context);
  planned->plan.text().write(planned->plan.step(), sink);
  if (const int code = sink.finish(); code != 0) {
    return {code == ENOMEM && write == &Buffer::Append ? HUECODE_ERROR_MEMORY : HUECODE_ERROR_WRITE,
            code == ENOMEM && write == &Buffer::Append
                ? "out of memory"
                : "the writer stopped the conversion (it returned " + std::to_string(code) + ")"};
  }
  return {};
}

// Hands the buffer over on success, frees it on failure.
huecode_status Deliver(Buffer& buffer, huecode_status status, char** out, std::size_t* size) {
  if (status != HUECODE_OK) {
    std::free(buffer.data);
    return status;
  }
  if (buffer.data == nullptr && Buffer::Append(&buffer, "", 0) != 0) {
    return HUECODE_ERROR_MEMORY;
  }
  *out = buffer.data;
  if (size != nullptr) {
    *size = buffer.size;
  }
  return HUECODE_OK;
}

// The calls that hand back bytes the library allocated: the input checked,
// the out pointer cleared and checked, and what fill writes handed over, or
// freed on failure.
huecode_status Allocating(const char* input, std::size_t size, const char* inputName, char** out,
                          std::size_t* outSize, const char* outName, huecode_error** error,
                          const std::function<Error(std::string_view, Buffer&)>& fill) {
  if (out != nullptr) {
    *out = nullptr;
  }
  Buffer buffer;
  const huecode_status status = Report(error, [&]() -> Error {
    auto bytes = Bytes(input, size, inputName);
    if (!bytes) {
      return bytes.error();
    }
    if (out == nullptr) {
      return {HUECODE_ERROR_ARGUMENT, std::string(outName) + " is NULL"};
    }
    return fill(*bytes, buffer);
  });
  return Deliver(buffer, status, out, outSize);
}

Error AppendAll(Buffer& buffer, const std::string& bytes) {
  if (Buffer::Append(&buffer, bytes.data(), bytes.size()) != 0) {
    return {HUECODE_ERROR_MEMORY, "out of memory"};
  }
  return {};
}

}  // namespace

Error FromFailure(Failure failure) {
  return {failure.exitCode == kExitUsageError ? HUECODE_ERROR_OPTION : HUECODE_ERROR_INPUT,
          std::move(failure.message)};
}

huecode_status Report(huecode_error** error, const std::function<Error()>& body) {
  if (error != nullptr) {
    *error = nullptr;
  }
  Error result;
  try {
    result = body();
  } catch (const std::bad_alloc&) {
    result = {HUECODE_ERROR_MEMORY, "out of memory"};
  } catch (const std::length_error&) {
    result = {HUECODE_ERROR_MEMORY, "out of memory"};
  }
  if (result.code != HUECODE_OK && error != nullptr) {
    *error = new (std::nothrow) huecode_error{result.code, {}};
    if (*error == nullptr) {
      *error = &g_outOfMemory;
    } else {
      try {
        (*error)->message = std::move(result.message);
      } catch (const std::bad_alloc&) {
        delete *error;
        *error = &g_outOfMemory;
      }
    }
  }
  return result.code;
}

}  // namespace huecode::library

using namespace huecode;
using namespace huecode::library;

extern "C" {

huecode_status huecode_error_code(const huecode_error* error) {
  return error == nullptr ? HUECODE_OK : error->code;
}

const char* huecode_error_message(const huecode_error* error) {
  return error == nullptr ? "" : error->message.c_str();
}

void huecode_error_free(huecode_error* error) {
  if (error != &g_outOfMemory) {
    delete error;
  }
}

void huecode_options_init(huecode_options* options, size_t size) {
  if (options != nullptr && size >= sizeof(size_t)) {
    std::memset(static_cast<void*>(options), 0, size);
    options->size = size;
  }
}

huecode_status huecode_convert(const char* text, size_t size, const huecode_options* options,
                               huecode_writer write, void* context, huecode_error** error) {
  return Report(error, [&]() -> Error {
    auto bytes = Bytes(text, size, "text");
    if (!bytes) {
      return bytes.error();
    }
    if (write == nullptr) {
      return {HUECODE_ERROR_ARGUMENT, "write is NULL"};
    }
    return Stream(*bytes, options, write, context);
  });
}

huecode_status huecode_convert_alloc(const char* text, size_t size, const huecode_options* options,
                                     char** markup, size_t* markup_size, huecode_error** error) {
  return Allocating(text, size, "text", markup, markup_size, "markup", error,
                    [&](std::string_view bytes, Buffer& buffer) {
                      return Stream(bytes, options, &Buffer::Append, &buffer);
                    });
}

huecode_status huecode_strip(const char* markup, size_t size, const huecode_options* options,
                             char** text, size_t* text_size, huecode_error** error) {
  return Allocating(markup, size, "markup", text, text_size, "text", error,
                    [&](std::string_view bytes, Buffer& buffer) -> Error {
                      auto read = ReadOptions(options, true);
                      if (!read) {
                        return read.error();
                      }
                      if (auto markupOf = MarkupOfOptions(*read); !markupOf) {
                        return FromFailure(markupOf.error());
                      }
                      auto decoded = DecodeText(bytes, "the text");
                      if (!decoded) {
                        return FromFailure(decoded.error());
                      }
                      auto stripped = StripWithOptions(*read, *decoded, "the text");
                      if (!stripped) {
                        return FromFailure(stripped.error());
                      }
                      return AppendAll(buffer, EncodeUtf8(*stripped));
                    });
}

huecode_status huecode_code_note(const char* text, size_t size, const huecode_options* options,
                                 char** note, size_t* note_size, huecode_error** error) {
  return Allocating(text, size, "text", note, note_size, "note", error,
                    [&](std::string_view bytes, Buffer& buffer) -> Error {
                      auto planned = Plan(bytes, options);
                      if (!planned) {
                        return planned.error();
                      }
                      return AppendAll(buffer, TextCodeNote(planned->plan));
                    });
}

void huecode_free(void* memory) {
  std::free(memory);
}

const char* huecode_version(void) {
  return HUECODE_VERSION;
}

}  // extern "C"
