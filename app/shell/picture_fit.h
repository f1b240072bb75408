#pragma once
// How the 16:10 frame fits a drawing area of another shape, and the words the options use for
// it. Apart from the presenter so that the option parsers need nothing else.
#include <optional>
#include <string>
#include <string_view>

namespace veldmark {

enum class PictureFit {
    Fill,      // the largest uniform scale that covers the area, centred, the excess cut away
    Fit,       // the whole frame at the largest uniform scale that fits, on black
    Stretch,   // the whole frame over the whole area, whatever its shape
};

// "fill", "fit" or "stretch"; nullopt for anything else.
std::optional<PictureFit> ParsePictureFit(std::string_view text);
// The word ParsePictureFit reads back.
const char* PictureFitName(PictureFit fit);
// The line to show for a word ParsePictureFit refuses, e.g.
// "--fit takes fill, fit or stretch, not 'round'".
std::string PictureFitError(std::string_view option, std::string_view text);

} // namespace veldmark
