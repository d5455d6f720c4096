#include "mp/blob.h"

#include <cstring>

namespace mp {

MpBlob::MpBlob(const MpBlob& other) { store(other.size_, other.data_); }

MpBlob& MpBlob::operator=(const MpBlob& other) {
    if (this != &other) store(other.size_, other.data_);
    return *this;
}

MpBlob::~MpBlob() { delete[] data_; }

void MpBlob::store(int32_t size, const void* bytes) {
    if (size < 0) size = 0;
    if (size != size_) {
        delete[] data_;
        data_ = new uint8_t[size];
        size_ = size;
    }
    if (size == 0) return;
    if (bytes != nullptr)
        std::memcpy(data_, bytes, size_t(size));
    else
        std::memset(data_, 0, size_t(size));
}

void MpBlob::clear() {
    if (size_ != 0) {
        delete[] data_;
        data_ = new uint8_t[0];
        size_ = 0;
    }
}

bool operator==(const MpBlob& a, const MpBlob& b) {
    return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.data_, b.data_, size_t(a.size_)) == 0);
}

}  // namespace mp
