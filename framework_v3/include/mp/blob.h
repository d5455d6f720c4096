// Pin value storage shared by DSP and GUI pins: MpBlob, an owned byte string,
// and the rule for 4-byte values.
#pragma once

#include <cstdint>
#include <cstring>

namespace mp {

// Stores a host value in a pin that holds 4 bytes (float or int): the first
// min(size, 4) bytes are kept and the rest become zero, so a long value is never
// copied whole and a short one leaves no stale bytes. Null `bytes` or a size
// of 0 or less gives zero.
inline void storeFourBytes(void* value, int32_t size, const void* bytes) {
    unsigned char raw[4] = {0, 0, 0, 0};
    if (bytes != nullptr && size > 0) std::memcpy(raw, bytes, size_t(size < 4 ? size : 4));
    std::memcpy(value, raw, 4);
}

// Holds `size` bytes in an array allocated with array new (null while nothing
// was ever stored). Storing reallocates only when the size changes, so a pin
// that keeps receiving blobs of one size allocates once.
class MpBlob {
public:
    MpBlob() = default;
    MpBlob(const MpBlob& other);
    MpBlob& operator=(const MpBlob& other);
    ~MpBlob();

    // Copies `size` bytes. A new size frees the old array and allocates exactly
    // `size` bytes (an empty array for 0). A negative size stores 0 bytes; a null
    // `bytes` with a positive size stores that many zero bytes.
    void store(int32_t size, const void* bytes);
    // Drops the content: an allocated array is replaced by a new empty one.
    void clear();

    int32_t size() const { return size_; }
    const uint8_t* data() const { return data_; }
    uint8_t* data() { return data_; }

    friend bool operator==(const MpBlob& a, const MpBlob& b);

private:
    int32_t size_ = 0;
    uint8_t* data_ = nullptr;
};

}  // namespace mp
