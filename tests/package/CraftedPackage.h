#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/PackageChecksum.h"

// Builds package files byte by byte, with every field open to being made wrong.
struct CraftedRecord
{
    std::string identifier = "KMX-Q7 ";
    std::uint8_t flag = 'Y';
    std::string hexDigits = "0000";
    std::vector<std::uint8_t> data;
    std::optional<std::uint32_t> lengthField;      // instead of data.size()
    std::optional<std::uint16_t> storedChecksum;   // instead of the right one
    bool checksumHighByteFirst = false;
};

struct CraftedPackage
{
    std::string versionDigits = "123";
    CraftedRecord records[8];
    std::vector<std::uint8_t> trailing;

    // A valid package whose eight segments have different lengths and data.
    static CraftedPackage valid()
    {
        CraftedPackage p;

        for (int i = 0; i < 8; ++i)
        {
            auto& r = p.records[i];
            r.flag = (i % 3 == 2) ? 'N' : 'Y';
            r.data.resize ((size_t) (i * 37 + 5));

            for (size_t k = 0; k < r.data.size(); ++k)
                r.data[k] = (std::uint8_t) (k * 131 + (size_t) i * 17 + 3);
        }

        return p;
    }

    std::uint32_t dataTotal() const
    {
        std::uint32_t total = 0;

        for (auto& r : records)
            total += (std::uint32_t) r.data.size();

        return total;
    }

    std::vector<std::uint8_t> bytes() const
    {
        std::vector<std::uint8_t> out;
        auto put = [&out] (const std::string& s, size_t width)
        {
            for (size_t i = 0; i < width; ++i)
                out.push_back (i < s.size() ? (std::uint8_t) s[i] : (std::uint8_t) ' ');
        };

        put ("crafted header", 20);
        put (versionDigits, 3);
        put ("", 13);

        for (auto& r : records)
        {
            put (r.identifier, 7);
            put ("........", 8);
            out.push_back (r.flag);
            put ("", 4);
            put (r.hexDigits, 4);
            put ("", 8);

            const auto n = r.lengthField.value_or ((std::uint32_t) r.data.size());
            for (int b = 0; b < 4; ++b)
                out.push_back ((std::uint8_t) (n >> (8 * b)));

            out.insert (out.end(), r.data.begin(), r.data.end());

            const auto c = r.storedChecksum.value_or (packageChecksum (r.data.data(), (int) r.data.size()));
            const std::uint8_t low = (std::uint8_t) c, high = (std::uint8_t) (c >> 8);
            out.push_back (r.checksumHighByteFirst ? high : low);
            out.push_back (r.checksumHighByteFirst ? low : high);
        }

        out.insert (out.end(), trailing.begin(), trailing.end());
        return out;
    }
};
