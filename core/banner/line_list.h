// The banner's list of lines. Every change that alters the list is reported through OnChange, so
// the banner can react as its update lock says.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace quenlo::banner {

class LineList {
  public:
    void Clear() {
        if (lines_.empty()) return;  // nothing changed, nothing to report
        lines_.clear();
        Changed();
    }
    void Add(std::string line) {
        lines_.push_back(std::move(line));
        Changed();
    }
    std::size_t Count() const { return lines_.size(); }
    const std::string& operator[](std::size_t i) const { return lines_.at(i); }

    std::function<void()> OnChange;

  private:
    void Changed() {
        if (OnChange) OnChange();
    }
    std::vector<std::string> lines_;
};

}  // namespace quenlo::banner
