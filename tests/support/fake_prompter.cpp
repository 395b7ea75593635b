#include "fake_prompter.h"

#include "platform/codec.h"

namespace orvis::testing {

int FakePrompter::ask(const std::string& text, const std::string& caption, int flags) {
  questions_.push_back({text, caption, flags});
  interrupted_ = false;
  if (onAsk) onAsk(questions_.back());
  if (interrupted_) {
    ++interruptions_;
    return mb::IdNone;
  }
  if (answers_.empty()) return mb::IdOk;
  int a = answers_.front();
  answers_.pop_front();
  return a;
}

std::vector<std::string> FakePrompter::texts() const {
  std::vector<std::string> out;
  for (const auto& q : questions_) out.push_back(platform::toUtf8(q.text));
  return out;
}

}  // namespace orvis::testing
