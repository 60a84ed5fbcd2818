#pragma once
// A label that shows numbered frames as its background image, one per tick
// of its timer 2100: in a loop, once, or back and forth.

#include <string>

#include "skinkit/Label.h"

namespace SkinKit {

class CSequenceLabelUI : public CLabelUI {
 public:
  static constexpr unsigned kTimerId = 2100;

  ~CSequenceLabelUI() override;

  std::wstring GetClass() const override { return L"SequenceLabel"; }
  CControlUI* GetInterface(const std::wstring& name) override;

  virtual void SetSequenceBkImage(const std::wstring& pattern);
  virtual const std::wstring& GetSequenceBkImage() const { return pattern_; }
  virtual void SetSequenceCount(int count);
  virtual int GetSequenceCount() const { return count_; }
  virtual void SetSequenceSpan(int milliseconds);
  virtual int GetSequenceSpan() const { return span_; }

  void DoInit() override;
  void DoEvent(ControlEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  // From the first frame again, in the current direction.
  void Start();

  unsigned GetCurrentIndex() const { return index_; }
  bool IsForward() const { return forward_; }
  bool IsLoop() const { return loop_; }
  bool IsRound() const { return round_; }
  bool IsAutoStart() const { return autoStart_; }

 private:
  // One tick: the frame index to show, or -1 when nothing is shown.
  long NextFrame();

  std::wstring pattern_;
  int count_ = 0;
  int span_ = 30;
  unsigned index_ = 0;
  bool autoStart_ = false;
  bool loop_ = true;
  bool forward_ = true;
  bool round_ = false;
};

}  // namespace SkinKit
