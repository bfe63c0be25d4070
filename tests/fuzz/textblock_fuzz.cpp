// libFuzzer target: the text-block reader over arbitrary bytes, for every
// section, with fewer slots than entries as well. Whatever the bytes, it must
// read nothing outside the block, write nothing outside its line buffers, and
// hand over only slots below the limit and texts that fit a line.
#include "text/TextBlockParser.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

namespace
{
    struct Limits
    {
        int max;
        int expectedSlot;
    };

    void check (void* context, int slot, const char* text, size_t length)
    {
        auto& limits = *static_cast<Limits*> (context);

        if (slot != limits.expectedSlot++ || slot < 0 || slot >= limits.max
             || length >= (size_t) TextBlockParser::lineBufferSize || std::strlen (text) != length)
            std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // An exactly sized copy, so that any read past the end is caught.
    std::unique_ptr<char[]> block (new char[size > 0 ? size : 1]);
    std::memcpy (block.get(), data, size);

    for (auto section : { TextSection::STR, TextSection::FONT_WIN, TextSection::LANG, TextSection::none })
    {
        Limits limits { section == TextSection::STR ? 25 : 3, 0 };
        TextBlockParser::scan (block.get(), size, section, limits.max, check, &limits);
    }

    return 0;
}
