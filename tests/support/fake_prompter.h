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
};

}  // namespace orvis::testing
