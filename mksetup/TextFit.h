// The wizard's text boxes against the texts an author gives them: lines the
// licence and readme boxes show only by scrolling sideways (they do not wrap),
// and texts longer than the boxes without scroll bars can show.
#pragma once
#include <string_view>
#include <vector>

#include "mksetup/Problem.h"

namespace mksetup {

// What a box shows, in characters of the wizard's font (MS Sans Serif 8 pt,
// about 5.5 pixels a character on average): the width, and for boxes that
// wrap at blanks and have no scroll bar, the rows.
struct TextBox {
  const char* file;
  const char* what;
  int columns;
  int rows;  // 0: the box does not wrap and scrolls
};

// license.txt and readme.txt: 265 pixels less border and scroll bar.
inline constexpr TextBox kLicenseBox{"license.txt", "license box", 44, 0};
inline constexpr TextBox kReadmeBox{"readme.txt", "readme box", 44, 0};
// copyMott.txt: the notice box on the introduction page, 265 x 89 pixels.
inline constexpr TextBox kNoticeBox{"copyMott.txt", "notice box on the introduction page", 48, 6};
// copyBrin.txt: the side box under the picture, 117 x 65 pixels.
inline constexpr TextBox kSideBox{"copyBrin.txt", "side box under the picture", 21, 5};

// At most one warning for the text: its first line that does not show,
// `shown` being the name the author knows the file by.
std::vector<Problem> CheckTextFits(const TextBox& box, std::string_view shown, std::string_view text);

}  // namespace mksetup
