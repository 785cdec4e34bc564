#pragma once
// TTimer: fires OnTimer every Interval milliseconds while Enabled, through
// the message loop (WM_TIMER of a hidden window), on the GUI thread.
#include <cstdint>

#include "framework/core/component.h"
#include "framework/core/events.h"

namespace framework {

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  const TClassInfo& ClassInfo() const override;
  static const TClassInfo& StaticClassInfo();

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t ms);

  TNotifyEvent OnTimer;

  // For the hidden window: the timer behind a WM_TIMER id, or null when it
  // has been freed since.
  static TTimer* FromId(std::uintptr_t id);
  void Tick();

protected:
  void Loaded() override { Update(); }

private:
  void Update();
  bool enabled_ = true;
  std::uint32_t interval_ = 1000;
  bool running_ = false;
};

}  // namespace framework
