#include "app/shell/picture_fit.h"

namespace veldmark {

std::optional<PictureFit> ParsePictureFit(std::string_view text)
{
    for (PictureFit fit : {PictureFit::Fill, PictureFit::Fit, PictureFit::Stretch})
        if (text == PictureFitName(fit)) return fit;
    return std::nullopt;
}

const char* PictureFitName(PictureFit fit)
{
    switch (fit) {
    case PictureFit::Fit: return "fit";
    case PictureFit::Stretch: return "stretch";
    case PictureFit::Fill: break;
    }
    return "fill";
}

std::string PictureFitError(std::string_view option, std::string_view text)
{
    if (text.empty()) return std::string(option) + " needs fill, fit or stretch";
    return std::string(option) + " takes fill, fit or stretch, not '" + std::string(text) + "'";
}

} // namespace veldmark
