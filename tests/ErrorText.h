#ifndef GRIDCLIP_TESTS_ERRORTEXT_H
#define GRIDCLIP_TESTS_ERRORTEXT_H

#include <gtest/gtest.h>

#include <string>

namespace gridclip_test {

/// The text of the error that `Action` throws: a `const char*` or a `std::string`.
/// Returns "<no error>" when nothing is thrown, "<other error>" for any other type.
template <typename TAction>
std::string ThrownText(TAction&& Action) {
  try {
    Action();
  } catch (const char* ChrText) {
    return ChrText;
  } catch (const std::string& StgText) {
    return StgText;
  } catch (...) {
    return "<other error>";
  }
  return "<no error>";
}

}  // namespace gridclip_test

/// Expects `Statement` to throw an error whose text is exactly `Text`.
#define EXPECT_THROW_MSG(Statement, Text) \
  EXPECT_EQ(::gridclip_test::ThrownText([&] { (void)(Statement); }), std::string(Text))

#endif
