#ifndef GRIDCLIP_TTEXTTOOLS_H
#define GRIDCLIP_TTEXTTOOLS_H

#include <cstddef>
#include <istream>
#include <ostream>
#include <string_view>
#include <vector>

/// Fast, lossless number text for the grid and CSV files: block-wise reading of
/// blank-separated tokens from a stream and block-wise writing into one.
class TTextTools {
 public:
  TTextTools() = delete;

  /// The longest text `FormatNumber` writes.
  static constexpr std::size_t MaxNumberLength = 32;

  /// Writes `DblValue` at `ChrOut` (at least `MaxNumberLength` bytes) and returns the end.
  /// The text is what the general format with 6 significant digits gives when that reads back
  /// as the same double; otherwise the general format with the fewest significant digits (up
  /// to 17) that do. So 0.25, -9999 and 1e-05 stay short while 4512345.5 is written in full.
  /// NaN and infinities are written "nan", "-nan", "inf" and "-inf".
  static char* FormatNumber(char* ChrOut, double DblValue);

  /// Reads a whole token as a double: an optional sign, then a decimal number, "inf",
  /// "infinity" or "nan" (any case). Values beyond the double range read as a correctly
  /// signed infinity or zero. Returns false when the token is not entirely a number.
  static bool ParseNumber(std::string_view StgToken, double& DblValue);

  /// Reads as much of the token as forms a number and returns how many characters that took
  /// (0 when the token does not start with a number). `BlnInteger` reads a whole number only.
  static std::size_t ParseNumberPrefix(std::string_view StgToken, bool BlnInteger,
                                       double& DblValue);

  /// Reads blank-separated tokens from a stream in large blocks. On a seekable stream the
  /// bytes read beyond the last token taken are given back when the reader is closed, so
  /// the stream ends just after that token; a stream that cannot seek is read a token at a
  /// time for the same reason.
  class TTokenReader {
   public:
    explicit TTokenReader(std::istream& Stream);
    ~TTokenReader();
    TTokenReader(const TTokenReader&) = delete;
    TTokenReader& operator=(const TTokenReader&) = delete;

    /// The next token; false at the end of the data. The view lives until the next call.
    bool Next(std::string_view& StgToken);

    /// How a run of `ReadNumbers` ended.
    enum class TNumbersRead { All, End, NotANumber };

    /// Appends the next `SizeCount` tokens to `VecValues`, each read as `ParseNumber` reads
    /// it. Stops at the end of the data (`End`) or at the first token that is not a number
    /// (`NotANumber`), having appended the numbers before it.
    TNumbersRead ReadNumbers(std::vector<double>& VecValues, std::size_t SizeCount);

    /// Bytes the stream still holds beyond what was taken, when it can tell; -1 otherwise.
    long long RemainingBytes() const;

    /// Gives back the bytes read beyond the last token taken (seekable streams only).
    void Close();

   private:
    bool Refill();

    std::streambuf* MbrPtrBuffer;
    bool MbrBlnSeekable;
    bool MbrBlnEnd = false;
    long long MbrLngStreamLeft = -1;
    std::vector<char> MbrVecData;
    std::size_t MbrSizePos = 0;
    std::size_t MbrSizeEnd = 0;
  };

  /// Collects text in a large block and hands it to the stream's buffer in one piece.
  /// A short write puts the stream in the bad state; later writes are dropped.
  class TBlockWriter {
   public:
    explicit TBlockWriter(std::ostream& Stream);
    ~TBlockWriter();
    TBlockWriter(const TBlockWriter&) = delete;
    TBlockWriter& operator=(const TBlockWriter&) = delete;

    void Text(std::string_view StgText);
    void Char(char ChrValue);
    void Number(double DblValue);
    /// The number right-aligned in a field of `SizeWidth` characters (wider ones in full).
    void Number(double DblValue, std::size_t SizeWidth);
    void Integer(long LngValue);
    /// Each of the `SizeCount` values at `PtrValues`, each followed by `ChrSeparator`.
    void Numbers(const double* PtrValues, std::size_t SizeCount, char ChrSeparator);
    /// Hands everything collected to the stream and flushes it.
    void Flush();

   private:
    char* Reserve(std::size_t SizeBytes);
    void Drain();

    std::ostream& MbrStream;
    std::vector<char> MbrVecBlock;
    std::size_t MbrSizeUsed = 0;
  };
};

#endif
