// The object conventions every version-3 interface follows: calling convention,
// status codes, 16-byte interface identifiers and IMpUnknown.
//
// This header (and the others under mp/abi/) is the binary interface shared by
// plug-ins and hosts. It holds declarations only; the host includes nothing else
// of the framework.
#pragma once

#include <cstddef>
#include <cstdint>

// Interface operations are __stdcall on 32-bit Windows, the platform's default
// convention everywhere else (x86-64 has only one).
#if defined(_WIN32) && !defined(_WIN64)
#define MP_STDCALL __stdcall
#else
#define MP_STDCALL
#endif

namespace mp {

// Status codes returned by every operation that returns one.
enum MpStatus : int32_t {
    MP_OK = 0,
    MP_FAIL = -1,          // an exception escaped while a module object was made
    MP_NOSUPPORT = -2,     // unknown identifier, id or kind; no creator
};

// An interface identifier in the Windows GUID memory layout: the first three
// groups are stored little-endian as integers, the last eight bytes as they read.
struct MpGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];

    friend constexpr bool operator==(const MpGuid& a, const MpGuid& b) {
        if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
        for (int i = 0; i < 8; ++i)
            if (a.data4[i] != b.data4[i]) return false;
        return true;
    }
};
static_assert(sizeof(MpGuid) == 16);

namespace detail {
constexpr uint32_t hexDigit(char c) {
    if (c >= '0' && c <= '9') return uint32_t(c - '0');
    if (c >= 'a' && c <= 'f') return uint32_t(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return uint32_t(c - 'A' + 10);
    throw "not a hexadecimal digit";  // reached only in constant evaluation: a compile error
}
constexpr uint32_t hexField(const char* s, int digits) {
    uint32_t v = 0;
    for (int i = 0; i < digits; ++i) v = (v << 4) | hexDigit(s[i]);
    return v;
}
}  // namespace detail

// Builds an identifier from its registry form "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"
// at compile time, so identifiers read exactly as they are published.
consteval MpGuid makeGuid(const char (&text)[37]) {
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        throw "identifier groups are 8-4-4-4-12 digits";
    MpGuid g{};
    g.data1 = detail::hexField(text, 8);
    g.data2 = uint16_t(detail::hexField(text + 9, 4));
    g.data3 = uint16_t(detail::hexField(text + 14, 4));
    g.data4[0] = uint8_t(detail::hexField(text + 19, 2));
    g.data4[1] = uint8_t(detail::hexField(text + 21, 2));
    for (int i = 0; i < 6; ++i) g.data4[2 + i] = uint8_t(detail::hexField(text + 24 + 2 * i, 2));
    return g;
}

inline constexpr MpGuid MP_IID_UNKNOWN = makeGuid("00000000-0000-C000-0000-000000000046");

// Positions 0-2 of every interface's operation table.
//
// queryInterface: on a match writes the interface pointer, calls addRef on it and
//   returns MP_OK; otherwise writes null and returns MP_NOSUPPORT.
// addRef: adds one to the object's reference count and returns the new count.
// release: subtracts one; at zero the object destroys itself and 0 is returned.
//
// Interfaces carry no virtual destructor (it would take table positions); an
// object is destroyed only by its own release, never through an interface.
class IMpUnknown {
public:
    virtual int32_t MP_STDCALL queryInterface(const MpGuid* iid, void** object) = 0;
    virtual int32_t MP_STDCALL addRef() = 0;
    virtual int32_t MP_STDCALL release() = 0;

protected:
    ~IMpUnknown() = default;
};

}  // namespace mp
