#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/handles_win32.h"
#include "resources/raster_art.h"
#include "tray/frm_main1_win32.h"
#include "win32/support/message_pump.h"

namespace kelvane {
namespace {

using testing::LaterSteps;

struct IconPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

IconPixels ReadIcon(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  BITMAP bitmap{};
  GetObjectW(colour.get(), sizeof bitmap, &bitmap);
  IconPixels pixels{bitmap.bmWidth, bitmap.bmHeight, {}};
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = bitmap.bmWidth;
  request.bmiHeader.biHeight = -bitmap.bmHeight;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  pixels.argb.resize(static_cast<std::size_t>(bitmap.bmWidth * bitmap.bmHeight));
  const WindowDc screen(nullptr);
  GetDIBits(screen.get(), colour.get(), 0, static_cast<UINT>(bitmap.bmHeight), pixels.argb.data(), &request,
            DIB_RGB_COLORS);
  return pixels;
}

TEST(FrmMain1Win32, ImagesAreDrawnAtTheSmallIconSizeWithAlpha) {
  frmMain1 form;
  const int size = GetSystemMetrics(SM_CXSMICON);
  const ArtKind kinds[] = {ArtKind::TrayIdle, ArtKind::TrayArmed, ArtKind::TrayHidden};
  for (TrayImage image : {TrayImage::Idle, TrayImage::Armed, TrayImage::IdleHidden}) {
    SCOPED_TRACE(static_cast<int>(image));
    ASSERT_NE(form.MyIco(image), nullptr);
    const IconPixels pixels = ReadIcon(form.MyIco(image));
    EXPECT_EQ(pixels.width, size);
    EXPECT_EQ(pixels.height, size);
    EXPECT_EQ(pixels.argb, DrawArt(kinds[static_cast<std::size_t>(image)], size).PremultipliedBgra())
        << "the drawn pixels, alpha included";
  }
}

TEST(FrmMain1Win32, EnabledCheckFollowsTheSchedule) {
  frmMain1 form;
  EXPECT_FALSE(form.EnabledChecked());
  form.SetEnabledChecked(true);
  EXPECT_TRUE(form.EnabledChecked());
  form.SetEnabledChecked(false);
  EXPECT_FALSE(form.EnabledChecked());
}

class PopupWin32Test : public ::testing::Test {
 protected:
  // Types a key into the open menu, from inside the menu's own loop.
  void TypeLater(WPARAM key) {
    steps.Add([this, key] {
      PostMessageW(owner.get(), WM_KEYDOWN, key, 0);
      PostMessageW(owner.get(), WM_KEYUP, key, 0);
    });
  }

  UniqueWindow owner{CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr)};
  frmMain1 form;
  LaterSteps steps;
};

TEST_F(PopupWin32Test, ReturnsTheCommandChosenWithTheKeyboard) {
  struct Case {
    std::vector<WPARAM> keys;
    TrayMenuCommand expected;
  };
  const Case cases[] = {
      {{'A'}, TrayMenuCommand::About},
      {{'X'}, TrayMenuCommand::Exit},
      {{'S'}, TrayMenuCommand::Show},
      {{VK_DOWN, VK_DOWN, VK_RETURN}, TrayMenuCommand::Enabled},
      {{VK_ESCAPE}, TrayMenuCommand::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.expected));
    for (WPARAM key : c.keys) TypeLater(key);
    EXPECT_EQ(form.ShowPopup(owner.get()), c.expected);
  }
}

}  // namespace
}  // namespace kelvane
