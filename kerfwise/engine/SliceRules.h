// The arithmetic and the texts of slicing: slice size, disk estimate, slice
// boundaries, names, base paths, and the lines of the slice list and the join
// batch file. Plain text in, plain text out.
#pragma once
#include "toolkit/Error.h"
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kerfwise {

constexpr int64_t kBlock = 2048;

// RadioButton1, RadioButton2, RadioButton3.
enum class Destination { CurrentDirectory, FloppyDisk, SlicedPath };

// Where slices are cut. Each slice but the last holds `length` bytes; the last
// holds what is left, which may be up to `threshold`.
struct SlicePlan {
  int64_t threshold = 0;  // the slice size: a slice never holds more
  int64_t length = 0;     // whole blocks up to the threshold, or exactly it
};

// A size text that cannot give a slice size.
struct SizeTextError : kw::Error {
  using kw::Error::Error;
};

// "1.44" (decimal MB: v * 1,024,000 - 32000 bytes, whole part, point as the
// separator) or "@1441792" (exact bytes). Throws SizeTextError for text that is
// not a number and for sizes below one byte.
SlicePlan ParseSliceSize(std::string_view text);

// Estimated disks for the run: whole part of total / (m * 1,048,576) + 1, m the
// size text read with the user's decimal separator; 0 when it does not convert.
int64_t DiskEstimate(std::string_view sizeText, char decimalSeparator, int64_t total);

// Lengths of the slices of a file of this size, in order (one empty slice for
// an empty file).
std::vector<int64_t> SliceLengths(int64_t fileSize, const SlicePlan& plan);

// Slice names: the source's file name less its last three characters, then "s"
// and the number (10, 11, ... 99, 100, ...). A name shorter than three
// characters is kept whole.
std::string SliceStem(std::string_view sourcePath);
std::string SliceName(std::string_view stem, int number);

// Folder that receives the slices, ending in a backslash unless empty.
std::string SliceFolder(std::string_view sourcePath, Destination destination,
                        std::string_view driveText, std::string_view slicePath);

// <base>: destination folder and the source's file name without extension.
std::string BasePath(std::string_view sourcePath, Destination destination,
                     std::string_view driveText, std::string_view slicePath);

// The 8.3-friendly target of the batch file: "My Long Report.DOC" -> "MyLongR.DOC".
std::string ShortTargetName(std::string_view fileName);

// Lines of <base>.sss (without line ends).
std::vector<std::string> SliceListLines(bool deleteAfterJoin, std::string_view fileName,
                                        const std::vector<std::string>& slices);
// Lines of <base>s.bat (JoinBatch.cpp): today's two lines while they are safe
// on DOS; else no line over 127 characters, every slice checked first, the
// target checked before any DEL. Empty when names are too long for DOS lines.
std::vector<std::string> BatchLines(bool deleteAfterJoin, std::string_view shortTarget,
                                    const std::vector<std::string>& slices);

// Lines joined, each ended by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace kerfwise
