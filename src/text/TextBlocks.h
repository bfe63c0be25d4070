#pragma once

#include <cstddef>

// The text blocks, compiled in byte for byte from src/text/blocks/ (the
// source of these arrays is generated at build time).
struct TextBlock
{
    const char* data;
    size_t length;
};

// Fonts and language names of all languages.
extern const TextBlock baseBlock;

// The 25 screen texts of each language, by language index.
extern const TextBlock languageBlocks[12];
