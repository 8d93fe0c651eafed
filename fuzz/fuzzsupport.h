#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one ends the run like a crash,
// so libFuzzer keeps the input and the corpus replay fails on it.
#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)

// The entry point of every target, called once per input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Sockets and files want an application object; one serves every input.
void ensureApplication();

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Whether a text shown in a list or on a terminal holds a control character.
bool hasControlCharacter(const QString &text);
