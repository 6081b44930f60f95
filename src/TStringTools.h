#ifndef GRIDCLIP_TSTRINGTOOLS_H
#define GRIDCLIP_TSTRINGTOOLS_H

#include <string>
#include <vector>

/// Small text functions on byte strings (no notion of encodings). Functions that take a string
/// by value work on their own copy; `ToUpper` and `Trim` change the string they are given.
class TStringTools {
 public:
  TStringTools() = delete;

  /// True for exactly "1", false for exactly "0". Any other text (blanks included) throws
  /// "Invalid boolean string in TStringTools::HasSubstring".
  static bool StgToBool(std::string StgText);

  /// Whether `StgSought` occurs in `StgText` (exact, case-sensitive). An empty sought text
  /// occurs in every text.
  static bool HasSubstring(std::string StgText, std::string StgSought);

  /// Upper-cases 'a' to 'z' in place; every other byte, those above 127 included, stays as it
  /// is, whatever locale the program has set.
  static void ToUpper(std::string& StgText);

  /// Removes the spaces (code 32 only) at both ends in place; tabs and line ends stay. A text of
  /// spaces only becomes empty.
  static void Trim(std::string& StgText);

  /// A copy of `StgText` with every occurrence of `StgSought` replaced by `StgReplacement`, left
  /// to right, without overlaps. The search resumes after each inserted replacement, so the
  /// replacement is never searched again (replacing "a" by "aa" ends). An empty sought text
  /// returns the text unchanged.
  static std::string FindAndReplace(std::string StgText, std::string StgSought,
                                    std::string StgReplacement);

  /// The number as a default output string stream writes it: integers in plain decimal with a
  /// leading minus when negative; doubles in the general format with at most six significant
  /// digits, without trailing zeros or point, in exponent notation when very large or small.
  /// Never grouped into thousands, whatever the program's global locale.
  static std::string ToString(long LngValue);
  static std::string ToString(int IntValue);
  static std::string ToString(double DblValue);

  /// Replaces the contents of `VecTokens` with the tokens of `StgText`: the pieces between runs
  /// of characters from `StgDelimiters` (each character separates on its own; a run of them, in
  /// any mix, is one separator). No token is empty: delimiters at either end produce nothing.
  /// With no delimiters a non-empty text is one token.
  static void Tokenize(const std::string& StgText, std::vector<std::string>& VecTokens,
                       const std::string& StgDelimiters);
};

#endif
