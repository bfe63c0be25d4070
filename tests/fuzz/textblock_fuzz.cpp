// libFuzzer target: the text-block parser over arbitrary bytes, for every
// section, with fewer slots than entries as well. Whatever the bytes, the
// parser must read nothing outside the block and write nothing outside the
// slots or its line buffers.
//
// The parser's source is compiled into this target, so that it carries the
// fuzzer's coverage instrumentation; the rest comes from kmx_core.
#include "text/TxtLoader.cpp"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // An exactly sized copy, so that any read past the end is caught.
    std::unique_ptr<char[]> block (new char[size > 0 ? size : 1]);
    std::memcpy (block.get(), data, size);

    juce::String slots[TextCount];

    for (auto section : { TextSection::STR, TextSection::FONT_WIN, TextSection::LANG })
        TxtLoader::parseBlock (block.get(), size, section, slots, section == TextSection::STR ? TextCount : 3);

    return 0;
}
