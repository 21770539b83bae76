#pragma once

#include <string_view>

namespace pal4 {

// The page a streaming program's browser source shows: one self-contained HTML file with no
// outside resources and a transparent background. It opens the subtitle feed on the host it
// came from, draws each state it gets (the text in the panel's style, in CSS) and connects
// again by itself when the tool goes away and comes back. Pure ASCII, so the program's GB2312
// literals leave it byte for byte as written.
extern const std::string_view SUBTITLE_PAGE;

} // namespace pal4
