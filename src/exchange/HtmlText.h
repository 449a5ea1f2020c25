#pragma once

// The plain text of a field that holds HTML, as word lists exported with HTML formatting carry
// it: tags go ("<b>Haus</b>" is "Haus"), a line break (<br>) and the end of a block (</div>,
// </p>, </li>) become a line break, and character references are decoded (&amp; &lt; &gt; &quot;
// &apos; &nbsp; and numeric ones; an unknown name stays as written). Text inside <script> and
// <style> is dropped.

#include <string>
#include <string_view>

namespace exchange {

// UTF-8 in, UTF-8 out.
std::string htmlToText(std::string_view html);

// Text for an HTML field: & < > " as references, a line break as <br>.
std::string textToHtml(std::string_view text);

}  // namespace exchange
