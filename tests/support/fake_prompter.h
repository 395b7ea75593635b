#pragma once
// Message-box answers for tests: each question takes the next answer from
// the list (OK when the list is empty) and is recorded.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "monitor/shell/prompter.h"

namespace orvis::testing {

class FakePrompter : public Prompter {
 public:
  struct Question {
    std::string text, caption;  // CP932
    int flags;
  };

  int ask(const std::string& text, const std::string& caption, int flags) override;
  // The open question (if any, say from onAsk) answers mb::IdNone.
  void interrupt() override { interrupted_ = true; }
  int interruptions() const { return interruptions_; }

  void answer(int a) { answers_.push_back(a); }
  const std::vector<Question>& questions() const { return questions_; }
  // The texts asked, as UTF-8, for readable assertions.
  std::vector<std::string> texts() const;
  void clear() { questions_.clear(); }

  // Runs while a question is open (a modal box lets messages run).
  std::function<void(const Question&)> onAsk;

 private:
  std::deque<int> answers_;
  std::vector<Question> questions_;
  bool interrupted_ = false;
  int interruptions_ = 0;
};

}  // namespace orvis::testing
