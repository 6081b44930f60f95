#include "TTextTools.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {
// The fuzz build shrinks the blocks, so that tokens cut by the end of a block are common.
#ifdef GRIDCLIP_FUZZ_BLOCK_SIZE
constexpr std::size_t BlockSize = GRIDCLIP_FUZZ_BLOCK_SIZE;
#else
constexpr std::size_t BlockSize = std::size_t{1} << 20;
#endif
constexpr std::size_t FirstBlockSize = std::min(std::size_t{1} << 12, BlockSize);

char* CopyText(char* ChrOut, std::string_view StgText) {
  std::memcpy(ChrOut, StgText.data(), StgText.size());
  return ChrOut + StgText.size();
}

// Blank, tab, LF, VT, FF and CR: one range test and one bit test.
bool IsBlank(char ChrValue) {
  const auto ChrCode = static_cast<unsigned char>(ChrValue);
  constexpr std::uint64_t BlankBits = (std::uint64_t{1} << ' ') | (std::uint64_t{1} << '\t') |
                                      (std::uint64_t{1} << '\n') | (std::uint64_t{1} << '\v') |
                                      (std::uint64_t{1} << '\f') | (std::uint64_t{1} << '\r');
  return ChrCode <= ' ' && ((BlankBits >> ChrCode) & 1U) != 0;
}

// The significant digits and decimal exponent of the shortest text that reads back as the
// value (no trailing zeros), taken from the scientific form "d.ddde+XX".
struct TDigits {
  char ChrDigits[20];
  int IntCount = 0;
  int IntExponent = 0;
};

TDigits ShortestDigits(double DblMagnitude) {
  char ChrText[40];
  const auto Result =
      std::to_chars(ChrText, ChrText + sizeof ChrText, DblMagnitude, std::chars_format::scientific);
  TDigits Digits;
  const char* ChrPos = ChrText;
  for (; ChrPos < Result.ptr && *ChrPos != 'e'; ++ChrPos) {
    if (*ChrPos != '.') Digits.ChrDigits[Digits.IntCount++] = *ChrPos;
  }
  ++ChrPos;  // 'e'
  const bool BlnNegative = *ChrPos == '-';
  ++ChrPos;  // exponent sign
  std::from_chars(ChrPos, Result.ptr, Digits.IntExponent);
  if (BlnNegative) Digits.IntExponent = -Digits.IntExponent;
  return Digits;
}

// Lays out digits as the general format does at precision `IntPrecision`, the digits having
// no trailing zeros: fixed notation for exponents from -4 to below the precision.
char* LayOutGeneral(char* ChrOut, const TDigits& Digits, int IntPrecision) {
  const int IntExp = Digits.IntExponent;
  if (IntExp < -4 || IntExp >= IntPrecision) {
    *ChrOut++ = Digits.ChrDigits[0];
    if (Digits.IntCount > 1) {
      *ChrOut++ = '.';
      ChrOut =
          CopyText(ChrOut, {Digits.ChrDigits + 1, static_cast<std::size_t>(Digits.IntCount - 1)});
    }
    *ChrOut++ = 'e';
    *ChrOut++ = IntExp < 0 ? '-' : '+';
    const int IntAbs = IntExp < 0 ? -IntExp : IntExp;
    if (IntAbs < 10) *ChrOut++ = '0';
    return std::to_chars(ChrOut, ChrOut + 4, IntAbs).ptr;
  }
  if (IntExp < 0) {
    *ChrOut++ = '0';
    *ChrOut++ = '.';
    for (int IntI = -1; IntI > IntExp; --IntI) *ChrOut++ = '0';
    return CopyText(ChrOut, {Digits.ChrDigits, static_cast<std::size_t>(Digits.IntCount)});
  }
  for (int IntI = 0; IntI <= IntExp; ++IntI) {
    *ChrOut++ = IntI < Digits.IntCount ? Digits.ChrDigits[IntI] : '0';
  }
  if (Digits.IntCount > IntExp + 1) {
    *ChrOut++ = '.';
    ChrOut = CopyText(ChrOut, {Digits.ChrDigits + IntExp + 1,
                               static_cast<std::size_t>(Digits.IntCount - IntExp - 1)});
  }
  return ChrOut;
}

// Exact powers of ten, 10^0 to 10^22: the largest that doubles hold exactly.
constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The text of a value whose magnitude lies from 1e-4 to below 1e6 and reads back exactly from
// a decimal of at most six significant digits: what grid values mostly are. The magnitude is
// scaled to a six-digit whole number m and back; when m / 10^k gives the magnitude again, the
// decimal m times 10^-k reads back as it (reading and that division both round the same exact
// quotient once). Two decimals of six digits or fewer lie at least a millionth of the value
// apart, far more than a double's spacing, so that decimal is also the shortest text, digit
// for digit, and it is laid out as the general format lays out six digits in this range:
// fixed notation without trailing zeros. Returns null, writing nothing, for any other value.
char* WriteSixDigitFixed(char* ChrOut, double DblValue) {
  const double DblMagnitude = std::fabs(DblValue);
  if (!(DblMagnitude >= 1e-4 && DblMagnitude < 1e6)) return nullptr;
  // 10^-4 to 10^5; the digit-count check below catches a decade misjudged at its border.
  static constexpr double DecadeStarts[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
  int IntExponent = 5;
  while (IntExponent > -4 && DblMagnitude < DecadeStarts[IntExponent + 4]) --IntExponent;
  const double DblScale = ExactPowersOfTen[5 - IntExponent];
  const auto LngWhole = static_cast<long long>(DblMagnitude * DblScale + 0.5);
  if (LngWhole < 100000 || LngWhole > 999999) return nullptr;
  if (static_cast<double>(LngWhole) / DblScale != DblMagnitude) return nullptr;

  static constexpr char DigitPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char ChrSix[6];
  long long LngRest = LngWhole;
  for (int IntPair = 2; IntPair >= 0; --IntPair) {
    const auto SizePair = static_cast<std::size_t>(LngRest % 100) * 2;
    ChrSix[2 * IntPair] = DigitPairs[SizePair];
    ChrSix[2 * IntPair + 1] = DigitPairs[SizePair + 1];
    LngRest /= 100;
  }
  int IntCount = 6;
  while (ChrSix[IntCount - 1] == '0') --IntCount;  // the first digit is never 0

  if (std::signbit(DblValue)) *ChrOut++ = '-';
  if (IntExponent < 0) {
    *ChrOut++ = '0';
    *ChrOut++ = '.';
    for (int IntI = -1; IntI > IntExponent; --IntI) *ChrOut++ = '0';
    for (int IntI = 0; IntI < IntCount; ++IntI) *ChrOut++ = ChrSix[IntI];
    return ChrOut;
  }
  for (int IntI = 0; IntI <= IntExponent; ++IntI) *ChrOut++ = ChrSix[IntI];
  if (IntCount > IntExponent + 1) {
    *ChrOut++ = '.';
    for (int IntI = IntExponent + 1; IntI < IntCount; ++IntI) *ChrOut++ = ChrSix[IntI];
  }
  return ChrOut;
}

bool ReadsBackAs(const char* ChrBegin, const char* ChrEnd, double DblValue) {
  double DblBack = 0.0;
  const auto Result = std::from_chars(ChrBegin, ChrEnd, DblBack);
  return Result.ec == std::errc() && Result.ptr == ChrEnd && DblBack == DblValue;
}
}  // namespace

char* TTextTools::FormatNumber(char* ChrOut, double DblValue) {
  if (std::isnan(DblValue)) return CopyText(ChrOut, std::signbit(DblValue) ? "-nan" : "nan");
  if (std::isinf(DblValue)) return CopyText(ChrOut, DblValue < 0 ? "-inf" : "inf");
  if (char* ChrEnd = WriteSixDigitFixed(ChrOut, DblValue)) return ChrEnd;
  const TDigits Digits = ShortestDigits(std::fabs(DblValue));
  const bool BlnNormal = std::fabs(DblValue) >= std::numeric_limits<double>::min();
  if (Digits.IntCount <= 6 && BlnNormal) {
    // A normal double is precise to far more than six digits, so rounding it to six gives
    // the shortest text itself, which reads back exactly.
    if (std::signbit(DblValue)) *ChrOut++ = '-';
    return LayOutGeneral(ChrOut, Digits, 6);
  }
  // Fewer digits than the shortest text never read back; the correctly rounded text at that
  // precision nearly always does.
  for (int IntPrecision = std::max(Digits.IntCount, 6); IntPrecision < 17; ++IntPrecision) {
    const auto Result = std::to_chars(ChrOut, ChrOut + MaxNumberLength, DblValue,
                                      std::chars_format::general, IntPrecision);
    if (ReadsBackAs(ChrOut, Result.ptr, DblValue)) return Result.ptr;
  }
  return std::to_chars(ChrOut, ChrOut + MaxNumberLength, DblValue, std::chars_format::general, 17)
      .ptr;
}

std::size_t TTextTools::ParseNumberPrefix(std::string_view StgToken, bool BlnInteger,
                                          double& DblValue) {
  const char* ChrBegin = StgToken.data();
  const char* ChrEnd = ChrBegin + StgToken.size();
  const char* ChrStart = ChrBegin;
  // The library's number parser takes a leading minus only; a plus is read here.
  if (ChrStart < ChrEnd && *ChrStart == '+' && ChrStart + 1 < ChrEnd && ChrStart[1] != '-' &&
      ChrStart[1] != '+') {
    ++ChrStart;
  }
  if (BlnInteger) {
    long long LngValue = 0;
    const auto Result = std::from_chars(ChrStart, ChrEnd, LngValue);
    if (Result.ptr == ChrStart) return 0;
    if (Result.ec == std::errc::result_out_of_range) {
      DblValue = *ChrStart == '-' ? -std::numeric_limits<double>::infinity()
                                  : std::numeric_limits<double>::infinity();
    } else {
      DblValue = static_cast<double>(LngValue);
    }
    return static_cast<std::size_t>(Result.ptr - ChrBegin);
  }
  const auto Result = std::from_chars(ChrStart, ChrEnd, DblValue);
  if (Result.ptr == ChrStart) return 0;
  if (Result.ec == std::errc::result_out_of_range) {
    // Beyond the double range: read as the C library does, to infinity or towards zero.
    const std::string StgCopy(ChrStart, Result.ptr);
    DblValue = std::strtod(StgCopy.c_str(), nullptr);
  }
  return static_cast<std::size_t>(Result.ptr - ChrBegin);
}

bool TTextTools::ParseNumber(std::string_view StgToken, double& DblValue) {
  return !StgToken.empty() && ParseNumberPrefix(StgToken, false, DblValue) == StgToken.size();
}

// ---- TTokenReader ----

TTextTools::TTokenReader::TTokenReader(std::istream& Stream)
    : MbrPtrBuffer(Stream.rdbuf()), MbrBlnSeekable(false) {
  if (MbrPtrBuffer == nullptr) {
    MbrBlnEnd = true;
    return;
  }
  const auto PosHere = MbrPtrBuffer->pubseekoff(0, std::ios_base::cur, std::ios_base::in);
  if (PosHere == std::streampos(-1)) return;
  const auto PosEnd = MbrPtrBuffer->pubseekoff(0, std::ios_base::end, std::ios_base::in);
  if (PosEnd == std::streampos(-1) ||
      MbrPtrBuffer->pubseekpos(PosHere, std::ios_base::in) != PosHere) {
    return;
  }
  MbrBlnSeekable = true;
  MbrLngStreamLeft = static_cast<long long>(PosEnd - PosHere);
}

TTextTools::TTokenReader::~TTokenReader() {
  Close();
}

long long TTextTools::TTokenReader::RemainingBytes() const {
  if (!MbrBlnSeekable) return -1;
  return MbrLngStreamLeft + static_cast<long long>(MbrSizeEnd - MbrSizePos);
}

bool TTextTools::TTokenReader::Refill() {
  if (MbrBlnEnd) return false;
  // Keep the unread tail (a token cut by the block boundary) at the front.
  if (MbrSizePos > 0) {
    std::memmove(MbrVecData.data(), MbrVecData.data() + MbrSizePos, MbrSizeEnd - MbrSizePos);
    MbrSizeEnd -= MbrSizePos;
    MbrSizePos = 0;
  }
  if (MbrBlnSeekable) {
    // A stream shorter than a block gets a buffer of its own size (one byte more, to see its
    // end), so reading many small grids does not clear a megabyte for each.
    std::size_t SizeWant = BlockSize;
    if (MbrLngStreamLeft >= 0 && MbrLngStreamLeft < static_cast<long long>(BlockSize)) {
      SizeWant = static_cast<std::size_t>(MbrLngStreamLeft) + 1;
    }
    if (MbrVecData.size() < MbrSizeEnd + SizeWant) MbrVecData.resize(MbrSizeEnd + SizeWant);
    const auto LngRead =
        MbrPtrBuffer->sgetn(MbrVecData.data() + MbrSizeEnd, static_cast<std::streamsize>(SizeWant));
    if (LngRead <= 0) {
      MbrBlnEnd = true;
      return false;
    }
    MbrSizeEnd += static_cast<std::size_t>(LngRead);
    MbrLngStreamLeft -= LngRead;
    return true;
  }
  // A stream that cannot seek back is read one token at a time, stopping before the blank
  // that ends it.
  using Traits = std::char_traits<char>;
  auto IntChar = MbrPtrBuffer->sgetc();
  while (!Traits::eq_int_type(IntChar, Traits::eof()) && IsBlank(Traits::to_char_type(IntChar))) {
    IntChar = MbrPtrBuffer->snextc();
  }
  const std::size_t SizeBefore = MbrSizeEnd;
  while (!Traits::eq_int_type(IntChar, Traits::eof()) && !IsBlank(Traits::to_char_type(IntChar))) {
    if (MbrVecData.size() <= MbrSizeEnd) MbrVecData.resize(MbrVecData.size() * 2 + 64);
    MbrVecData[MbrSizeEnd++] = Traits::to_char_type(IntChar);
    IntChar = MbrPtrBuffer->snextc();
  }
  if (Traits::eq_int_type(IntChar, Traits::eof())) MbrBlnEnd = true;
  if (MbrSizeEnd == SizeBefore) return false;
  if (MbrVecData.size() <= MbrSizeEnd) MbrVecData.resize(MbrVecData.size() * 2 + 64);
  MbrVecData[MbrSizeEnd++] = ' ';  // the token is complete
  return true;
}

bool TTextTools::TTokenReader::Next(std::string_view& StgToken) {
  for (;;) {
    while (MbrSizePos < MbrSizeEnd && IsBlank(MbrVecData[MbrSizePos])) ++MbrSizePos;
    if (MbrSizePos < MbrSizeEnd) break;
    if (!Refill()) return false;
  }
  std::size_t SizeStop = MbrSizePos;
  for (;;) {
    while (SizeStop < MbrSizeEnd && !IsBlank(MbrVecData[SizeStop])) ++SizeStop;
    if (SizeStop < MbrSizeEnd) break;
    // The token reaches the end of the block: it may go on in the next one.
    const std::size_t SizeLength = SizeStop - MbrSizePos;
    const bool BlnMore = Refill();  // moves the token to the front of the block
    SizeStop = MbrSizePos + SizeLength;
    if (!BlnMore) break;
  }
  StgToken = std::string_view(MbrVecData.data() + MbrSizePos, SizeStop - MbrSizePos);
  MbrSizePos = SizeStop;
  return true;
}

namespace {
// A plain decimal ("-12.5", "7", ".25", "3.") of at most 19 digits whose digits make a whole
// number of at most 2^53, ending in a blank before `ChrEnd`. Then the whole number and the
// power of ten are both exact doubles and one correctly rounded division gives the value the
// full parser gives. Returns the end of the number, or null for anything else.
const char* ParsePlainDecimal(const char* ChrPos, const char* ChrEnd, double& DblValue) {
  const bool BlnNegative = ChrPos < ChrEnd && *ChrPos == '-';
  if (BlnNegative) ++ChrPos;
  std::uint64_t LngWhole = 0;
  int IntDigits = 0;
  int IntDecimals = 0;
  while (ChrPos < ChrEnd && static_cast<unsigned char>(*ChrPos - '0') < 10) {
    LngWhole = LngWhole * 10 + static_cast<std::uint64_t>(*ChrPos - '0');
    ++IntDigits;
    ++ChrPos;
  }
  if (ChrPos < ChrEnd && *ChrPos == '.') {
    ++ChrPos;
    while (ChrPos < ChrEnd && static_cast<unsigned char>(*ChrPos - '0') < 10) {
      LngWhole = LngWhole * 10 + static_cast<std::uint64_t>(*ChrPos - '0');
      ++IntDigits;
      ++IntDecimals;
      ++ChrPos;
    }
  }
  if (ChrPos == ChrEnd || !IsBlank(*ChrPos) || IntDigits == 0 || IntDigits > 19 ||
      LngWhole > (std::uint64_t{1} << 53)) {
    return nullptr;
  }
  double DblMagnitude = static_cast<double>(LngWhole);
  if (IntDecimals > 0) DblMagnitude /= ExactPowersOfTen[IntDecimals];
  DblValue = BlnNegative ? -DblMagnitude : DblMagnitude;
  return ChrPos;
}
}  // namespace

TTextTools::TTokenReader::TNumbersRead TTextTools::TTokenReader::ReadNumbers(
    std::vector<double>& VecValues, std::size_t SizeCount) {
  std::size_t SizeLeft = SizeCount;
  while (SizeLeft > 0) {
    // Plain decimals straight from the block...
    const char* ChrData = MbrVecData.data();
    const char* ChrEnd = ChrData + MbrSizeEnd;
    const char* ChrPos = ChrData + MbrSizePos;
    for (; SizeLeft > 0; --SizeLeft) {
      while (ChrPos < ChrEnd && IsBlank(*ChrPos)) ++ChrPos;
      double DblValue = 0.0;
      const char* ChrStop = ParsePlainDecimal(ChrPos, ChrEnd, DblValue);
      if (ChrStop == nullptr) break;
      ChrPos = ChrStop;
      VecValues.push_back(DblValue);
    }
    MbrSizePos = static_cast<std::size_t>(ChrPos - ChrData);
    if (SizeLeft == 0) break;
    // ...and anything else, or a token the block boundary may cut, by the general road.
    std::string_view StgToken;
    if (!Next(StgToken)) return TNumbersRead::End;
    double DblValue = 0.0;
    if (!ParseNumber(StgToken, DblValue)) return TNumbersRead::NotANumber;
    VecValues.push_back(DblValue);
    --SizeLeft;
  }
  return TNumbersRead::All;
}

void TTextTools::TTokenReader::Close() {
  if (MbrBlnSeekable && MbrSizeEnd > MbrSizePos) {
    MbrPtrBuffer->pubseekoff(-static_cast<std::streamoff>(MbrSizeEnd - MbrSizePos),
                             std::ios_base::cur, std::ios_base::in);
    MbrLngStreamLeft += static_cast<long long>(MbrSizeEnd - MbrSizePos);
  }
  MbrSizePos = MbrSizeEnd = 0;
}

// ---- TBlockWriter ----

TTextTools::TBlockWriter::TBlockWriter(std::ostream& Stream) : MbrStream(Stream) {}

TTextTools::TBlockWriter::~TBlockWriter() {
  try {
    Drain();
  } catch (...) {
    // A stream set to throw on failure must not throw out of a destructor.
  }
}

char* TTextTools::TBlockWriter::Reserve(std::size_t SizeBytes) {
  const std::size_t SizeNeeded = MbrSizeUsed + SizeBytes;
  if (SizeNeeded > MbrVecBlock.size() && MbrVecBlock.size() < BlockSize) {
    // The block grows to full size only for output that fills it, so writing a small grid
    // does not clear a megabyte.
    const std::size_t SizeGrown = std::max({SizeNeeded, MbrVecBlock.size() * 2, FirstBlockSize});
    MbrVecBlock.resize(std::min(SizeGrown, BlockSize));
  }
  if (SizeNeeded > MbrVecBlock.size()) {
    Drain();
    if (SizeBytes > MbrVecBlock.size()) MbrVecBlock.resize(SizeBytes);
  }
  return MbrVecBlock.data() + MbrSizeUsed;
}

void TTextTools::TBlockWriter::Drain() {
  const std::size_t SizeUsed = MbrSizeUsed;
  MbrSizeUsed = 0;
  if (SizeUsed == 0 || !MbrStream.good()) return;
  std::streambuf* PtrBuffer = MbrStream.rdbuf();
  const auto LngWritten =
      PtrBuffer == nullptr
          ? 0
          : PtrBuffer->sputn(MbrVecBlock.data(), static_cast<std::streamsize>(SizeUsed));
  if (LngWritten != static_cast<std::streamsize>(SizeUsed))
    MbrStream.setstate(std::ios_base::badbit);
}

void TTextTools::TBlockWriter::Text(std::string_view StgText) {
  char* ChrOut = Reserve(StgText.size());
  std::memcpy(ChrOut, StgText.data(), StgText.size());
  MbrSizeUsed += StgText.size();
}

void TTextTools::TBlockWriter::Char(char ChrValue) {
  *Reserve(1) = ChrValue;
  ++MbrSizeUsed;
}

void TTextTools::TBlockWriter::Number(double DblValue) {
  char* ChrOut = Reserve(MaxNumberLength);
  MbrSizeUsed += static_cast<std::size_t>(FormatNumber(ChrOut, DblValue) - ChrOut);
}

void TTextTools::TBlockWriter::Number(double DblValue, std::size_t SizeWidth) {
  char ChrText[MaxNumberLength];
  const auto SizeLength = static_cast<std::size_t>(FormatNumber(ChrText, DblValue) - ChrText);
  for (std::size_t SizeI = SizeLength; SizeI < SizeWidth; ++SizeI) Char(' ');
  Text({ChrText, SizeLength});
}

void TTextTools::TBlockWriter::Integer(long LngValue) {
  char* ChrOut = Reserve(24);
  MbrSizeUsed +=
      static_cast<std::size_t>(std::to_chars(ChrOut, ChrOut + 24, LngValue).ptr - ChrOut);
}

void TTextTools::TBlockWriter::Numbers(const double* PtrValues, std::size_t SizeCount,
                                       char ChrSeparator) {
  for (std::size_t SizeI = 0; SizeI < SizeCount; ++SizeI) {
    char* ChrOut = Reserve(MaxNumberLength + 1);
    ChrOut = FormatNumber(ChrOut, PtrValues[SizeI]);
    *ChrOut++ = ChrSeparator;
    MbrSizeUsed = static_cast<std::size_t>(ChrOut - MbrVecBlock.data());
  }
}

void TTextTools::TBlockWriter::Flush() {
  Drain();
  if (MbrStream.good()) MbrStream.flush();
}
