// Helpers of the layout-file tests, in the style "should read" (text -> checks on the loaded
// layout) and "should fail" (text -> the exact whole message).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "model/BvrProperties.h"
#include "strings/BvrError.h"

namespace bvr::test {

inline constexpr const char* kObjectName = "BVRPropertiesParams";

inline std::unique_ptr<TBvrProperties> NewLayout() {
  auto p = std::make_unique<TBvrProperties>();
  p->Name = kObjectName;
  return p;
}

// A layout file with the given property lines between the header and "end", CR LF ends.
inline std::string LayoutText(std::initializer_list<std::string_view> lines) {
  std::string text = "object BVRPropertiesParams: TBvrProperties\r\n";
  for (std::string_view line : lines) {
    text += "  ";
    text += line;
    text += "\r\n";
  }
  text += "end\r\n";
  return text;
}

// Loads text into a fresh layout (or into the given one) and runs check on it.
inline void ShouldRead(const std::string& text, const std::function<void(TBvrProperties&)>& check,
                       TBvrProperties* into = nullptr) {
  std::unique_ptr<TBvrProperties> own;
  if (into == nullptr) {
    own = NewLayout();
    into = own.get();
  }
  try {
    into->LoadFromText(text);
  } catch (const EBvrError& e) {
    ADD_FAILURE() << "load failed: " << e.what() << "\ntext:\n" << text;
    return;
  }
  check(*into);
}

// Loading text must fail with exactly this message. Returns the layout for state checks.
inline std::unique_ptr<TBvrProperties> ShouldFail(const std::string& text,
                                                  const std::string& message) {
  auto p = NewLayout();
  try {
    p->LoadFromText(text);
    ADD_FAILURE() << "loaded, expected: " << message << "\ntext:\n" << text;
  } catch (const EBvrError& e) {
    EXPECT_EQ(e.what(), message) << "text:\n" << text;
  }
  return p;
}

// The lines of a saved text without their CR LF ends (and nothing after the last one).
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace bvr::test
