// Whether a PDF carries a signature that any change to the file would break.
#pragma once

class QPDF;

namespace bvr::pdf {

// True when the form says signatures exist (/SigFlags bit 1), a signature field holds a
// value, or the document is certified (/Perms). An empty signature field is no signature.
bool IsSigned(QPDF& pdf);

}  // namespace bvr::pdf
