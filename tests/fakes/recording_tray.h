#pragma once
#include <string>
#include <vector>

#include "tray/tray_icon.h"

namespace kelvane::testing {

// Records tray requests as text lines into a shared log.
class RecordingTray : public TrayIcon {
 public:
  explicit RecordingTray(std::vector<std::string>& log) : log_(log) {}
  bool capable = true;
  TrayImage image = TrayImage::Idle;
  std::string tip;
  std::vector<std::string> balloons;  // texts shown by BalloonShow(true, ...)

  void SetImage(TrayImage i) override {
    image = i;
    log_.push_back("tray image " + std::to_string(static_cast<int>(i)));
  }
  void SetToolTip(const std::string& t) override {
    tip = t;
    log_.push_back("tray tip " + t);
  }
  void Show() override { log_.push_back("tray show"); }
  void Terminate() override { log_.push_back("tray terminate"); }
  bool IsBalloonCapable() const override { return capable; }
  void SetBalloonIcon(int icon) override { log_.push_back("balloon icon " + std::to_string(icon)); }
  void SetBalloonTitle(const std::string& title) override { log_.push_back("balloon title " + title); }
  void SetBalloonText(const std::string& text) override {
    text_ = text;
    log_.push_back("balloon text " + text);
  }
  bool BalloonShow(bool show, int timeoutMs, bool noSound) override {
    if (show) balloons.push_back(text_);
    log_.push_back("balloon show " + std::to_string(show) + " " + std::to_string(timeoutMs) + " " +
                   std::to_string(noSound));
    return capable;
  }

 private:
  std::vector<std::string>& log_;
  std::string text_;
};

}  // namespace kelvane::testing
