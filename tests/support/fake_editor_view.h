#pragma once
// The job editor's fields as a plain record, for logic tests.

#include <map>
#include <string>
#include <vector>

#include "monitor/catalogue/job_editor_view.h"

namespace orvis::testing {

class FakeEditorView : public JobEditorView {
 public:
  std::string text(EditorControl f) const override {
    auto it = texts.find(f);
    return it == texts.end() ? std::string() : it->second;
  }
  void setText(EditorControl f, const std::string& t) override { texts[f] = t; }
  std::vector<std::string> bodyLines() const override { return body; }
  void setBodyLines(const std::vector<std::string>& lines) override { body = lines; }
  bool checked(EditorControl b) const override {
    auto it = checks.find(b);
    return it != checks.end() && it->second;
  }
  void setChecked(EditorControl b, bool on) override { checks[b] = on; }
  bool enabled(EditorControl c) const override {
    auto it = enables.find(c);
    return it == enables.end() || it->second;
  }
  void setEnabled(EditorControl c, bool on) override { enables[c] = on; }
  void focus(EditorControl c) override { focused = c; }
  JobType type() const override { return jobType; }
  void setType(JobType t) override { jobType = t; }
  void setTypeTexts(const std::string& label, const std::string& example,
                    const std::string& preview) override {
    targetLabel = label;
    exampleText = example;
    previewCaption = preview;
  }
  void setMailGroupItems(int count) override {
    groupItems.clear();
    for (int i = 1; i <= count; ++i) groupItems.push_back(std::to_string(i));
    groupIndex = -1;
  }
  void addMailGroupItem(const std::string& item) override { groupItems.push_back(item); }
  void removeLastMailGroupItem() override {
    if (!groupItems.empty()) groupItems.pop_back();
    if (groupIndex >= static_cast<int>(groupItems.size())) groupIndex = -1;
  }
  int mailGroupIndex() const override { return groupIndex; }
  void setMailGroupIndex(int index) override {
    groupIndex = (index >= 0 && index < static_cast<int>(groupItems.size())) ? index : -1;
  }
  std::string mailGroupName() const override { return groupName; }
  void setMailGroupName(const std::string& name) override { groupName = name; }

  std::map<EditorControl, std::string> texts;
  std::vector<std::string> body;
  std::map<EditorControl, bool> checks;
  std::map<EditorControl, bool> enables;
  EditorControl focused = EditorControl::MailGroup;
  JobType jobType = JobType::Url;
  std::string targetLabel, exampleText, previewCaption;
  std::vector<std::string> groupItems;
  int groupIndex = -1;
  std::string groupName;
};

}  // namespace orvis::testing
