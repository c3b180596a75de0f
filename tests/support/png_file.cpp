#include "tests/support/png_file.h"

#include <cstdio>

namespace {

std::uint32_t Crc32(const std::vector<unsigned char>& data)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBig32(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void PutChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& body)
{
    PutBig32(out, static_cast<std::uint32_t>(body.size()));
    const size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    std::vector<unsigned char> crcInput(out.begin() + static_cast<std::ptrdiff_t>(typeStart),
                                        out.end());
    PutBig32(out, Crc32(crcInput));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<unsigned char> Zlib(const std::vector<unsigned char>& raw)
{
    std::vector<unsigned char> out = {0x78, 0x01};
    size_t done = 0;
    do {
        const size_t n = raw.size() - done < 65535 ? raw.size() - done : 65535;
        const bool last = done + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<unsigned char>(n));
        out.push_back(static_cast<unsigned char>(n >> 8));
        out.push_back(static_cast<unsigned char>(~n));
        out.push_back(static_cast<unsigned char>(~n >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(done),
                   raw.begin() + static_cast<std::ptrdiff_t>(done + n));
        done += n;
    } while (done < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const unsigned char byte : raw) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    PutBig32(out, (b << 16) | a);
    return out;
}

}  // namespace

bool WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint32_t>& pixels)
{
    std::vector<unsigned char> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<unsigned char>(p >> 16));
            raw.push_back(static_cast<unsigned char>(p >> 8));
            raw.push_back(static_cast<unsigned char>(p));
        }
    }
    std::vector<unsigned char> header;
    PutBig32(header, static_cast<std::uint32_t>(width));
    PutBig32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", Zlib(raw));
    PutChunk(file, "IEND", {});

    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
