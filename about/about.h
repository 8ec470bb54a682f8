#pragma once
// The about box's texts and the hover state of its link picture.

#include <string>

namespace kelvane {

inline constexpr const char* kMakerUrl = "https://kelvane.example/";
// What the program does, under its name and version; the copyright line
// below it comes from the program's version resource.
inline constexpr const char* kMakerNotice =
    "Shuts down, restarts, suspends, hibernates or locks the computer, or logs you off, after a countdown or at "
    "a time of day.";
// "webpage" in one word, as Windows writes it.
inline constexpr const char* kLinkCaption = "Visit the Kelvane webpage";
inline constexpr int kLinkHoverTimerMs = 100;

// "Version: 1.2.3" from the major, minor and revision of the program.
std::string AboutVersionText(int major, int minor, int revision);

// The link picture shows its hover image from the first mouse move over it
// until a timer tick finds the cursor outside it.
class LinkHover {
 public:
  // A mouse move over the picture. True when the hover image is to be shown
  // and the timer started; false while it is shown already.
  bool MouseMove();
  // A timer tick with the cursor in the picture's client coordinates. True
  // when the normal image is to come back and the timer stop.
  bool Tick(int x, int y, int width, int height);
  bool Hovering() const { return hovering_; }

 private:
  bool hovering_ = false;
};

}  // namespace kelvane
