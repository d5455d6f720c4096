// The stand-in's own behaviour where the suite relies on it: windows and
// their messages, virtual-time timers, key state, text-mode files, module
// paths and the registry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/control.h"
#include "platform/windows.h"

namespace {

std::vector<UINT> received;

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back(message);
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class Windows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &recordingProcedure;
        windowClass.lpszClassName = L"PlatformTest";
        ASSERT_NE(RegisterClassExW(&windowClass), 0);
    }
    void SetUp() override {
        top_ = CreateWindowExW(0, L"PlatformTest", nullptr, WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
        child_ = CreateWindowExW(0, L"PlatformTest", nullptr, WS_CHILD | WS_VISIBLE, 100, 50, 80, 60, top_, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(child_, nullptr);
        platform::pumpMessages();
        received.clear();
    }
    void TearDown() override {
        DestroyWindow(top_);
        platform::pumpMessages();
    }

    HWND top_ = nullptr;
    HWND child_ = nullptr;
};

TEST_F(Windows, DestroyingAParentDestroysItsChildrenAndStaleHandlesAreRefused) {
    const int live = platform::liveWindowCount();
    EXPECT_EQ(GetParent(child_), top_);
    EXPECT_TRUE(DestroyWindow(top_));
    EXPECT_EQ(received, (std::vector<UINT>{WM_DESTROY, WM_DESTROY}));
    EXPECT_EQ(platform::liveWindowCount(), live - 2);
    EXPECT_FALSE(IsWindow(child_));
    EXPECT_FALSE(DestroyWindow(child_));
    EXPECT_EQ(GetDC(child_), nullptr);
    EXPECT_EQ(SetTimer(child_, 1, 10, nullptr), 0u);
    top_ = nullptr;
}

TEST_F(Windows, AnInvalidatedWindowIsPaintedOnceAfterPostedMessages) {
    InvalidateRgn(child_, nullptr, TRUE);
    InvalidateRgn(child_, nullptr, TRUE);
    PostMessageW(child_, WM_USER, 0, 0);
    platform::pumpMessages();
    EXPECT_EQ(received, (std::vector<UINT>{WM_USER, WM_PAINT}));
}

TEST_F(Windows, TimersFireOnTheVirtualClockWithOneMessagePendingAtMost) {
    ASSERT_NE(SetTimer(child_, 7, 40, nullptr), 0u);
    platform::advanceClock(39);
    EXPECT_EQ(platform::pumpMessages(), 0);
    platform::advanceClock(1);
    EXPECT_EQ(platform::pumpMessages(), 1);
    platform::advanceClock(200);  // five periods, one message: timers coalesce
    EXPECT_EQ(platform::pumpMessages(), 1);
    EXPECT_TRUE(KillTimer(child_, 7));
    platform::advanceClock(100);
    EXPECT_EQ(platform::pumpMessages(), 0);
    EXPECT_EQ(received, (std::vector<UINT>{WM_TIMER, WM_TIMER}));
}

TEST_F(Windows, MouseMessagesGoToTheWindowUnderThePointOrTheCapture) {
    struct Case {
        bool captured;
        POINT point;  // in the top window's pixels
        HWND target;
        int x, y;  // in the target's pixels
    };
    const Case cases[] = {
        {false, {110, 60}, child_, 10, 10},
        {false, {20, 20}, top_, 20, 20},
        {true, {97, 45}, child_, -3, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.captured ? "captured" : "not captured");
        if (c.captured) SetCapture(child_);
        const HWND target = platform::postMouseMessage(top_, WM_MOUSEMOVE, c.point, MK_SHIFT);
        EXPECT_EQ(target, c.target);
        MSG message{};
        ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(message.wParam, MK_SHIFT);
        EXPECT_EQ(static_cast<SHORT>(LOWORD(message.lParam)), c.x);
        EXPECT_EQ(static_cast<SHORT>(HIWORD(message.lParam)), c.y);
        ReleaseCapture();
    }
}

TEST(KeyState, GenericKeysFollowTheirLeftAndRightKeys) {
    platform::setKeyDown(VK_SHIFT, true);
    platform::setKeyDown(VK_RCONTROL, true);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetAsyncKeyState(VK_LSHIFT), 0);
    EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0);
    EXPECT_EQ(GetAsyncKeyState(VK_LMENU), 0);
    platform::releaseAllKeys();
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
}

TEST(Files, TextModeReadsCarriageReturnLineFeedAsLineFeed) {
    const auto path = std::filesystem::temp_directory_path() / "platform_text_mode.txt";
    std::ofstream(path, std::ios::binary) << "a\r\nb\r\r\nc\rd\r";
    FILE* file = _wfopen(platform::windowsPath(path.string()).c_str(), L"r");
    ASSERT_NE(file, nullptr);
    char text[32] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, file), 9u);
    EXPECT_STREQ(text, "a\nb\r\nc\rd\r");
    std::fclose(file);
    std::filesystem::remove(path);
}

TEST(Paths, MachinePathsAreShownOnDriveZ) {
    EXPECT_EQ(platform::windowsPath("/usr/lib/x.so"), L"Z:\\usr\\lib\\x.so");
    EXPECT_EQ(platform::nativePath(L"Z:\\usr\\lib\\x.so"), "/usr/lib/x.so");
    EXPECT_EQ(platform::nativePath(L"C:\\Windows\\Fonts\\arial.ttf"), "");
    WCHAR directory[MAX_PATH];
    EXPECT_EQ(GetWindowsDirectoryW(directory, MAX_PATH), 10u);
    EXPECT_STREQ(directory, L"C:\\Windows");
    WCHAR tiny[4];
    EXPECT_EQ(GetModuleFileNameW(nullptr, tiny, 4), 4u);  // truncated, still terminated
    EXPECT_EQ(tiny[3], 0);
}

TEST(Registry, ValuesOfAKeyEnumerateInOrderWithTheirLongestSizes) {
    const std::wstring key = L"Software\\Suite\\Test";
    platform::setRegistryString(HKEY_LOCAL_MACHINE, key, L"First Value", L"one");
    platform::setRegistryString(HKEY_LOCAL_MACHINE, key, L"B", L"a longer text");
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"software\\SUITE\\test", 0, KEY_READ, &opened), ERROR_SUCCESS);
    DWORD values = 0, longestName = 0, longestData = 0;
    ASSERT_EQ(RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName,
                               &longestData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(longestName, 11u);
    EXPECT_EQ(longestData, 14 * sizeof(WCHAR));

    WCHAR name[12];
    WCHAR data[14];
    DWORD nameLength = 12, dataLength = sizeof data, type = 0;
    ASSERT_EQ(RegEnumValueW(opened, 0, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLength),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, L"First Value");
    EXPECT_STREQ(data, L"one");
    EXPECT_EQ(type, REG_SZ);
    nameLength = 1;  // too small for "B" and its terminator
    EXPECT_EQ(RegEnumValueW(opened, 1, name, &nameLength, nullptr, &type, nullptr, nullptr), ERROR_MORE_DATA);
    nameLength = 12;
    EXPECT_EQ(RegEnumValueW(opened, 2, name, &nameLength, nullptr, &type, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegCloseKey(opened), ERROR_SUCCESS);
    EXPECT_EQ(RegEnumValueW(opened, 0, name, &nameLength, nullptr, &type, nullptr, nullptr), ERROR_INVALID_HANDLE);

    HKEY missing = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Nothing", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);

    // A value deleted (its name in any case) leaves the others in their order.
    platform::setRegistryString(HKEY_LOCAL_MACHINE, key, L"Third", L"three");
    platform::deleteRegistryValue(HKEY_LOCAL_MACHINE, key, L"first value");
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        nameLength = 12;
        if (RegEnumValueW(opened, index, name, &nameLength, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"B", L"Third"}));
    RegCloseKey(opened);
    platform::deleteRegistryKey(HKEY_LOCAL_MACHINE, key);
}

TEST(MessageBoxes, AreRecordedAndAnsweredOk) {
    platform::clearMessageBoxes();
    EXPECT_EQ(MessageBoxW(nullptr, L"text", L"caption", MB_OK | MB_ICONWARNING), IDOK);
    ASSERT_EQ(platform::messageBoxes().size(), 1u);
    EXPECT_EQ(platform::messageBoxes()[0].text, L"text");
    EXPECT_EQ(platform::messageBoxes()[0].caption, L"caption");
    EXPECT_EQ(platform::messageBoxes()[0].type, MB_ICONWARNING);
    platform::clearMessageBoxes();
}

}  // namespace
