// The Fonts key of the system registry and fontelFindFontFile: what is
// listed, in which order, and which file a face name finds.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cwctype>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "fontel/find_font.h"
#include "platform/control.h"

namespace {

const std::wstring fontsKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

using Values = std::vector<std::pair<std::wstring, std::wstring>>;

Values fontValues() {
    Values values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, fontsKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD index = 0;; ++index) {
        WCHAR name[512];
        WCHAR data[1024];
        DWORD nameLength = 512, dataBytes = sizeof data, type = 0;
        const LSTATUS status =
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<LPBYTE>(data), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS) break;
        EXPECT_EQ(status, ERROR_SUCCESS);
        EXPECT_EQ(type, REG_SZ);
        values.emplace_back(name, data);
    }
    RegCloseKey(key);
    return values;
}

std::wstring folded(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

bool beginsWith(const std::wstring& text, const std::wstring& prefix) {
    return folded(text).compare(0, prefix.size(), folded(prefix)) == 0;
}

std::string narrow(const std::wstring& wide) { return std::string(wide.begin(), wide.end()); }

// The family and style FreeType reads from a font file named Windows-style.
std::pair<std::string, std::string> faceOf(const std::string& windowsFile) {
    const std::string file = platform::nativePath(std::wstring(windowsFile.begin(), windowsFile.end()));
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::pair<std::string, std::string> names;
    if (FT_Init_FreeType(&library) != 0) return names;
    if (FT_New_Face(library, file.c_str(), 0, &face) == 0) {
        names = {face->family_name, face->style_name};
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return names;
}

TEST(FontsKey, ListsTheInstalledFontsByTheirWindowsNamesWithAbsolutePaths) {
    const Values values = fontValues();
    ASSERT_FALSE(values.empty());
    for (const auto& [name, file] : values) {
        SCOPED_TRACE(narrow(name));
        EXPECT_TRUE(name.ends_with(L" (TrueType)") || name.ends_with(L" (OpenType)"));
        const std::string native = platform::nativePath(file);
        EXPECT_TRUE(!native.empty() && std::filesystem::path(native).is_absolute() && std::filesystem::exists(native));
    }
    bool listsLiberationSans = false;
    for (const auto& value : values) listsLiberationSans |= value.first == L"Liberation Sans Bold (TrueType)";
    EXPECT_TRUE(listsLiberationSans);
}

TEST(FontsKey, ListsLiberationSansUnderArialInItsFourStylesRegularFirst) {
    const Values values = fontValues();
    std::vector<std::pair<std::wstring, std::pair<std::string, std::string>>> arial;
    for (const auto& [name, file] : values)
        if (beginsWith(name, L"Arial")) arial.emplace_back(name, faceOf(narrow(file)));
    using Face = std::pair<std::string, std::string>;
    const std::vector<std::pair<std::wstring, Face>> expected = {
        {L"Arial (TrueType)", {"Liberation Sans", "Regular"}},
        {L"Arial Bold (TrueType)", {"Liberation Sans", "Bold"}},
        {L"Arial Italic (TrueType)", {"Liberation Sans", "Italic"}},
        {L"Arial Bold Italic (TrueType)", {"Liberation Sans", "Bold Italic"}},
    };
    EXPECT_EQ(arial, expected);
}

TEST(FontsKey, APrefixSearchForAFamilyFindsItsRegularFaceFirst) {
    const Values values = fontValues();
    int families = 0;
    for (const auto& [name, file] : values) {
        // The regular face's value is the family name and the format alone.
        if (name.find(L"Bold") != std::wstring::npos || name.find(L"Italic") != std::wstring::npos) continue;
        const std::wstring family = name.substr(0, name.rfind(L" ("));
        for (const auto& [first, firstFile] : values) {
            if (!beginsWith(first, family)) continue;
            EXPECT_EQ(first, name) << "the first value found for " << narrow(family);
            break;
        }
        ++families;
    }
    EXPECT_GE(families, 3);
}

TEST(FontelFindFontFile, FindsTheFileOfTheFirstValueBeginningWithTheFaceName) {
    const Values values = fontValues();
    auto fileOf = [&](const std::wstring& name) {
        for (const auto& [valueName, file] : values)
            if (valueName == name) return narrow(file);
        return std::string("(not listed)");
    };
    struct Case {
        const char* face;
        std::wstring value;
    };
    const Case cases[] = {
        {"Arial", L"Arial (TrueType)"},
        {"arial bold", L"Arial Bold (TrueType)"},
        {"Arial Italic", L"Arial Italic (TrueType)"},
        {"ARIAL BOLD I", L"Arial Bold Italic (TrueType)"},
        {"DejaVu Sans", L"DejaVu Sans (TrueType)"},  // also begins DejaVu Sans Mono, Bold, ...
        {"DejaVu Sans Mono", L"DejaVu Sans Mono (TrueType)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(fontelFindFontFile(c.face), fileOf(c.value));
    }
    EXPECT_EQ(faceOf(fontelFindFontFile("Arial Bold")), (std::pair<std::string, std::string>{"Liberation Sans", "Bold"}));
    EXPECT_EQ(fontelFindFontFile("No Such Face"), "");
    EXPECT_EQ(fontelFindFontFile(nullptr), fontelFindFontFile("")) << "the empty face name begins every name";
}

// Values added by a test, taken away again when it ends.
class AddedFontValues : public ::testing::Test {
protected:
    void add(const std::wstring& name, const std::wstring& file) {
        platform::setRegistryString(HKEY_LOCAL_MACHINE, fontsKey, name, file);
        added_.push_back(name);
    }
    void TearDown() override {
        for (const std::wstring& name : added_) platform::deleteRegistryValue(HKEY_LOCAL_MACHINE, fontsKey, name);
    }
    std::vector<std::wstring> added_;
};

TEST_F(AddedFontValues, AFaceNameThatPrefixesSeveralValuesTakesTheFirstInEnumerationOrder) {
    add(L"Suitetest Sans Wide (TrueType)", L"Z:\\fonts\\wide.ttf");
    add(L"Suitetest Sans (TrueType)", L"Z:\\fonts\\plain.ttf");
    add(L"Suitetest Sans Bold (TrueType)", L"Z:\\fonts\\bold.ttf");
    EXPECT_EQ(fontelFindFontFile("Suitetest Sans"), "Z:\\fonts\\wide.ttf");
    EXPECT_EQ(fontelFindFontFile("suitetest sans ("), "Z:\\fonts\\plain.ttf");
    EXPECT_EQ(fontelFindFontFile("Suitetest Sans B"), "Z:\\fonts\\bold.ttf");
}

TEST_F(AddedFontValues, AbsolutePathsStandAndFileNamesLieInTheSystemFontDirectory) {
    struct Case {
        const wchar_t* data;
        const char* path;
    };
    const Case cases[] = {
        {L"Z:\\Users\\me\\AppData\\Local\\Microsoft\\Windows\\Fonts\\mine.ttf",
         "Z:\\Users\\me\\AppData\\Local\\Microsoft\\Windows\\Fonts\\mine.ttf"},
        {L"c:/fonts/forward.ttf", "c:/fonts/forward.ttf"},
        {L"\\\\server\\fonts\\shared.ttf", "\\\\server\\fonts\\shared.ttf"},
        {L"plain.ttf", "C:\\Windows\\Fonts\\plain.ttf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        add(L"Suitetest Path (TrueType)", c.data);
        EXPECT_EQ(fontelFindFontFile("Suitetest Path"), c.path);
    }
}

}  // namespace
