#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "about/frm_about_win32.h"
#include "base/handles_win32.h"
#include "base/wide_text_win32.h"
#include "base/file_version_win32.h"
#include "base/system_win32.h"
#include "version.h"
#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

using testing::LaterSteps;
using testing::PumpUntil;

std::wstring BesideThisProgram(const wchar_t* name) {
  std::wstring path = ModulePath();
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

std::string ItemText(HWND box, AboutControl id) {
  wchar_t text[256] = {};
  GetDlgItemTextW(box, static_cast<int>(id), text, 256);
  return Narrow(text);
}

HWND Item(HWND box, AboutControl id) { return GetDlgItem(box, static_cast<int>(id)); }

TEST(AboutVersionWin32, VersionAndCopyrightComeFromTheProgramsVersionResource) {
  const std::wstring program = BesideThisProgram(L"kelvane.exe");
  ASSERT_NE(GetFileAttributesW(program.c_str()), INVALID_FILE_ATTRIBUTES) << "built beside the tests";
  EXPECT_EQ(ModuleVersionText(program),
            AboutVersionText(KELVANE_VERSION_MAJOR, KELVANE_VERSION_MINOR, KELVANE_VERSION_PATCH));
  const std::wstring copyright = ReadVersionText(program, L"LegalCopyright");
  EXPECT_EQ(copyright.rfind(L"Copyright \u00A9 ", 0), 0u) << Narrow(copyright);
  EXPECT_NE(copyright.find(L"Kelvane"), std::wstring::npos) << Narrow(copyright);
  EXPECT_EQ(ModuleVersionText(ModulePath()), "Version: 0.0.0") << "the tests carry no version resource";
  EXPECT_EQ(ReadVersionText(ModulePath(), L"LegalCopyright"), L"");
}

class AboutWin32Test : public ::testing::Test {
 protected:
  UniqueWindow owner{CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr)};
  std::vector<std::wstring> opened;
  frmAbout about{[this](const std::wstring& target) { opened.push_back(target); }};
  LaterSteps steps;
};

TEST_F(AboutWin32Test, ShowsNameVersionNoticeAndLinkModallyInTheDrawnFrame) {
  bool checked = false;
  steps.Add([&] {
    ASSERT_TRUE(about.IsOpen());
    const HWND box = about.Window();
    wchar_t title[32] = {};
    GetWindowTextW(box, title, 32);
    EXPECT_STREQ(title, L"About");
    EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0) << "no system frame";
    EXPECT_EQ(ItemText(box, AboutControl::Label1), "Kelvane");
    EXPECT_EQ(ItemText(box, AboutControl::lblVersion), ModuleVersionText(ModulePath()));
    EXPECT_EQ(ItemText(box, AboutControl::lblNotice), kMakerNotice);
    EXPECT_EQ(ItemText(box, AboutControl::LblUrl), kMakerUrl);
    EXPECT_FALSE(IsWindowEnabled(owner.get())) << "modal to its owner";
    EXPECT_EQ(GetWindow(box, GW_OWNER), owner.get());
    checked = true;
    SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
  });
  about.ShowModal(owner.get());
  EXPECT_TRUE(checked);
  EXPECT_FALSE(about.IsOpen());
  EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

// The user's message font, set larger for this process only and put back.
class LargerMessageFont {
 public:
  LargerMessageFont() {
    original_.cbSize = sizeof original_;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof original_, &original_, 0);
    NONCLIENTMETRICSW larger = original_;
    larger.lfMessageFont.lfHeight = original_.lfMessageFont.lfHeight * 2;
    set_ = SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof larger, &larger, 0) != FALSE;
  }
  ~LargerMessageFont() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof original_, &original_, 0); }
  LargerMessageFont(const LargerMessageFont&) = delete;
  LargerMessageFont& operator=(const LargerMessageFont&) = delete;
  bool set() const { return set_; }
  LONG height() const { return original_.lfMessageFont.lfHeight * 2; }

 private:
  NONCLIENTMETRICSW original_{};
  bool set_ = false;
};

LONG FontHeightOf(HWND control) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (handle == nullptr || GetObjectW(handle, sizeof font, &font) == 0) return 0;
  return font.lfHeight;
}

TEST_F(AboutWin32Test, TextsFollowTheUsersMessageFontSize) {
  const LargerMessageFont userFont;
  ASSERT_TRUE(userFont.set());
  LONG versionHeight = 0;
  LONG titleHeight = 0;
  steps.Add([&] {
    const HWND box = about.Window();
    versionHeight = FontHeightOf(Item(box, AboutControl::lblVersion));
    titleHeight = FontHeightOf(Item(box, AboutControl::Label1));
    about.Close();
  });
  about.ShowModal(owner.get());
  EXPECT_EQ(versionHeight, userFont.height()) << "the version in the size the user chose for message text";
  EXPECT_GT(std::abs(titleHeight), std::abs(versionHeight)) << "the product name stays the larger text";
}

// The colour the link shows in the middle of its left edge, where its
// picture has no text.
COLORREF LinkColour(HWND link) {
  UpdateWindow(link);
  const WindowDc dc(link);
  RECT area{};
  GetClientRect(link, &area);
  return GetPixel(dc.get(), 2, area.bottom / 2);
}

TEST_F(AboutWin32Test, TheLinkShowsItsHoverImageUntilTheCursorLeaves) {
  steps.Add([&] {
    const HWND box = about.Window();
    const HWND link = Item(box, AboutControl::PicUrl);
    ASSERT_NE(link, nullptr);
    const COLORREF normal = LinkColour(link);
    RECT area{};
    GetWindowRect(link, &area);
    // The cursor is on the link while the mouse moves over it.
    SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_TRUE(about.LinkHovering());
    EXPECT_NE(LinkColour(link), normal) << "the hover image";
    SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_FALSE(PumpUntil([&] { return !about.LinkHovering(); }, std::chrono::milliseconds(300)))
        << "stays while the cursor is on it";
    SetCursorPos(area.right + 40, area.bottom + 40);
    EXPECT_TRUE(PumpUntil([&] { return !about.LinkHovering(); }, std::chrono::seconds(2)));
    EXPECT_EQ(LinkColour(link), normal);
    about.Close();
  });
  about.ShowModal(owner.get());
  EXPECT_FALSE(about.IsOpen());
}

TEST_F(AboutWin32Test, TabReachesTheLinkAndEnterOpensIt) {
  HWND box = nullptr;
  const auto press = [&](WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); };
  steps.Add([&] {
    box = about.Window();
    EXPECT_EQ(GetFocus(), Item(box, AboutControl::cmdClose));
    press(VK_TAB);
  });
  steps.Add([&] {
    EXPECT_EQ(GetFocus(), Item(box, AboutControl::PicUrl));
    press(VK_RETURN);
  });
  steps.Add([&] {
    EXPECT_EQ(opened, std::vector<std::wstring>{Widen(kMakerUrl)});
    EXPECT_TRUE(about.IsOpen()) << "the box stays";
    // The button clicks when the space bar goes up.
    press(VK_SPACE);
    PostMessageW(GetFocus(), WM_KEYUP, VK_SPACE, 0xC0000001);
  });
  steps.Add([&] {
    EXPECT_EQ(opened.size(), 2u) << "the space bar clicks the link as well";
    press(VK_TAB);
  });
  steps.Add([&] {
    EXPECT_EQ(GetFocus(), Item(box, AboutControl::cmdClose));
    press(VK_RETURN);
  });
  about.ShowModal(owner.get());
  EXPECT_FALSE(about.IsOpen());
  EXPECT_EQ(opened.size(), 2u) << "Enter on Close closes";
}

TEST_F(AboutWin32Test, CloseGivesTheOwnerItsInputAtOnce) {
  bool enabledAtOnce = false;
  steps.Add([&] {
    about.Close();
    enabledAtOnce = IsWindowEnabled(owner.get()) != FALSE;
  });
  about.ShowModal(owner.get());
  EXPECT_TRUE(enabledAtOnce);
  about.Close();  // closed already: nothing happens
  EXPECT_FALSE(about.IsOpen());
}

TEST_F(AboutWin32Test, ASecondOpeningWhileOpenDoesNotStackBoxes) {
  int returned = 0;
  steps.Add([&] {
    const HWND first = about.Window();
    about.ShowModal(owner.get());
    ++returned;
    EXPECT_EQ(about.Window(), first);
    about.Close();
  });
  about.ShowModal(owner.get());
  EXPECT_EQ(returned, 1);
}

}  // namespace
}  // namespace kelvane
