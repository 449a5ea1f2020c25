#pragma once

// The cell height (ascent plus descent, in pango units) of a font description, the number
// pango_context_get_metrics gives for the language "en", found without what that call does
// besides: it lays out and shapes the language's sample text in the fontset and again in every
// font of it, which loads two more fontsets (two font matches and two sorts of every installed
// font). That took a tenth of the program's start-up, for one number per face.
//
// The context's fontset for the description decides the font: when its first font holds every
// character of the sample text, the sample text is set in that font alone and its metrics are
// the fontset's, read from the font's own extents as pango reads them. Otherwise (a face without
// Latin letters, a font with a transformation) the answer is pango_context_get_metrics' own.

typedef struct _PangoContext PangoContext;
typedef struct _PangoFontDescription PangoFontDescription;

namespace platform {

int faceCellHeight(PangoContext* context, const PangoFontDescription* description);

}  // namespace platform
