#include "files/GifCodeStream.h"

#include <array>
#include <vector>

namespace px {

namespace {

constexpr int kMaxCodes = 4096;  // codes are at most 12 bits wide
constexpr int kMaxWidth = 12;

class CodeWriter {
public:
    explicit CodeWriter(size_t expectedCodes) { bytes_.reserve(qsizetype(expectedCodes + 16)); }

    void put(int code, int width)
    {
        pending_ |= uint32_t(code) << pendingBits_;
        pendingBits_ += width;
        while (pendingBits_ >= 8) {
            bytes_.append(char(pending_ & 0xff));
            pending_ >>= 8;
            pendingBits_ -= 8;
        }
    }

    QByteArray finish()
    {
        if (pendingBits_ > 0)
            bytes_.append(char(pending_ & 0xff));
        pending_ = 0;
        pendingBits_ = 0;
        return bytes_;
    }

private:
    QByteArray bytes_;
    uint32_t pending_ = 0;
    int pendingBits_ = 0;
};

// The string table of the LZW encoder: (prefix code, next index) -> code. Open addressing with
// a generation stamp per slot, so a clear code empties the table without touching it.
class StringTable {
public:
    StringTable() : keys_(kSlots), codes_(kSlots), stamps_(kSlots, 0) {}

    void clear() { ++generation_; }

    // The slot of key: either the one holding it or the free one where it belongs.
    size_t slotOf(uint32_t key) const
    {
        size_t slot = (key * 2654435761u) >> (32 - kSlotBits);
        while (stamps_[slot] == generation_ && keys_[slot] != key)
            slot = (slot + 1) & (kSlots - 1);
        return slot;
    }
    bool holds(size_t slot) const { return stamps_[slot] == generation_; }
    int code(size_t slot) const { return codes_[slot]; }
    void insert(size_t slot, uint32_t key, int code)
    {
        keys_[slot] = key;
        codes_[slot] = uint16_t(code);
        stamps_[slot] = generation_;
    }

private:
    static constexpr int kSlotBits = 14;  // 16384 slots for at most 4096 strings
    static constexpr size_t kSlots = size_t(1) << kSlotBits;
    std::vector<uint32_t> keys_;
    std::vector<uint16_t> codes_;
    std::vector<uint32_t> stamps_;
    uint32_t generation_ = 1;
};

} // namespace

QByteArray EncodeLzwCodes(const uint8_t* indices, size_t count, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    CodeWriter out(count / 2);
    StringTable table;
    int width = minCodeSize + 1;
    int next = endCode + 1;
    out.put(clearCode, width);
    if (count == 0) {
        out.put(endCode, width);
        return out.finish();
    }
    int prefix = indices[0];
    for (size_t i = 1; i < count; ++i) {
        const uint32_t key = uint32_t(prefix) << 8 | indices[i];
        const size_t slot = table.slotOf(key);
        if (table.holds(slot)) {
            prefix = table.code(slot);
            continue;
        }
        out.put(prefix, width);
        if (next < kMaxCodes) {
            table.insert(slot, key, next);
            ++next;
            // The decoder makes each entry one code later than we do; it widens its codes
            // once its own table reaches 2^width, which is when ours passes it.
            if (next > (1 << width) && width < kMaxWidth)
                ++width;
        } else {
            out.put(clearCode, width);
            table.clear();
            next = endCode + 1;
            width = minCodeSize + 1;
        }
        prefix = indices[i];
    }
    out.put(prefix, width);
    // The decoder still adds an entry for that last code before it reads the end code.
    if (next >= (1 << width) && width < kMaxWidth)
        ++width;
    out.put(endCode, width);
    return out.finish();
}

QByteArray EncodeRunLengthCodes(const uint8_t* indices, size_t count, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int width = minCodeSize + 1;
    // After a clear code the decoder widens its codes on reading the 2^minCodeSize - 1st code;
    // one code fewer keeps every code, and the next clear code, at the initial width.
    const int codesPerBlock = (1 << minCodeSize) - 2;
    const size_t stride = size_t(codesPerBlock) + 2;

    // What the decoder's table holds of runs: for each index c, runs of c of every length
    // 1..longestRun[c] (length 1 is c itself), and the code of each.
    std::array<int, 256> longestRun;
    longestRun.fill(1);
    std::vector<uint16_t> runCode(256 * stride);
    std::vector<uint8_t> touched;

    CodeWriter out(count);
    int codesInBlock = codesPerBlock;  // starts a block at once
    int next = endCode + 1;            // the entry the decoder makes on the next code
    int previous = -1;                 // index of the previous code's run; -1 after a clear
    int previousLength = 0;
    size_t i = 0;
    while (i < count) {
        if (codesInBlock == codesPerBlock) {
            out.put(clearCode, width);
            for (const uint8_t c : touched)
                longestRun[c] = 1;
            touched.clear();
            codesInBlock = 0;
            next = endCode + 1;
            previous = -1;
        }
        const int c = indices[i];
        // Following the longest known run of c with another c, the decoder's next entry is
        // that run one longer; the code of an entry still being made is valid LZW.
        const bool growsRun = previous == c && previousLength == longestRun[c];
        const size_t wanted = size_t(longestRun[c]) + (growsRun ? 1 : 0);
        size_t run = 1;
        while (run < wanted && i + run < count && indices[i + run] == c)
            ++run;
        int code;
        if (growsRun && run == wanted)
            code = next;
        else
            code = run == 1 ? c : runCode[size_t(c) * stride + run];
        out.put(code, width);

        if (previous >= 0) {
            if (growsRun) {
                if (longestRun[c] == 1)
                    touched.push_back(uint8_t(c));
                longestRun[c] = previousLength + 1;
                runCode[size_t(c) * stride + size_t(longestRun[c])] = uint16_t(next);
            }
            ++next;
        }
        previous = c;
        previousLength = int(run);
        ++codesInBlock;
        i += run;
    }
    out.put(endCode, width);
    return out.finish();
}

} // namespace px
