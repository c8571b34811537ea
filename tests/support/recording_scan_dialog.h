// A scan dialog for tests: records every call in order, and lets a test set
// the cancel state, or change it when a given call arrives.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "engine/scan_dialog.h"

class RecordingScanDialog : public IScanDialog {
 public:
  struct Event {
    std::string kind;  // "title", "text", "range", "pos", "found", "summary", "owner", "open", "close", "failure"
    int control = 0;
    std::wstring text;
    std::wstring caption;
    uint32_t value = 0;
  };

  std::wstring partitionText = L"C:";
  std::wstring outputDir;
  int32_t cancelState = kScanRunning;
  uint32_t foundCount = 0;
  std::vector<Event> events;
  // Called after each recorded event; may change cancelState.
  std::function<void(RecordingScanDialog&, const Event&)> onEvent;

  std::wstring GetSelectedPartitionText() override { return partitionText; }
  std::wstring GetOutputDir() override { return outputDir; }
  void SetTitle(const std::wstring& title) override { Record({"title", 0, title, {}, 0}); }
  void SetControlText(int id, const std::wstring& text) override { Record({"text", id, text, {}, 0}); }
  void SetProgressRange(uint32_t, uint32_t high) override { Record({"range", kProgressBarControl, {}, {}, high}); }
  void SetProgressPosition(uint32_t pos) override { Record({"pos", kProgressBarControl, {}, {}, pos}); }
  int32_t GetCancelState() override { return cancelState; }
  void SetFoundCount(uint32_t count) override {
    foundCount = count;
    Record({"found", 0, {}, {}, count});
  }
  void ShowSummary(const std::wstring& text, const std::wstring& caption) override {
    Record({"summary", 0, text, caption, 0});
  }
  void ShowOwner() override { Record({"owner", 0, {}, {}, 0}); }
  void OpenFolder(const std::wstring& folder) override { Record({"open", 0, folder, {}, 0}); }
  void PostClose() override { Record({"close", 0, {}, {}, 0}); }
  void ReportWriteFailure(const std::wstring& path, const std::string& reason) override {
    Record({"failure", 0, path, std::wstring(reason.begin(), reason.end()), 0});
  }

  // Texts set on one control, in order.
  std::vector<std::wstring> TextsOf(int control) const {
    std::vector<std::wstring> out;
    for (const Event& e : events)
      if (e.kind == "text" && e.control == control) out.push_back(e.text);
    return out;
  }
  std::vector<const Event*> EventsOf(const std::string& kind) const {
    std::vector<const Event*> out;
    for (const Event& e : events)
      if (e.kind == kind) out.push_back(&e);
    return out;
  }

 private:
  void Record(Event e) {
    events.push_back(e);
    if (onEvent) onEvent(*this, events.back());
  }
};
