// The eigenvalues of a cyclic method's cycle in the complex plane.

#include "analyse/pictures/chart.hpp"
#include "analyse/pictures/plane.hpp"

namespace ordimet::analyse {

std::string cycle_picture(const MethodAnalysis& method, const PictureOptions& options) {
    std::vector<PlotRoot> roots;
    for (const Eigenvalue& value : method.cycle.eigenvalues) {
        roots.push_back({value.re, value.im, value.multiplicity, value.location});
    }
    std::string files;
    for (const std::string& file : method.files) {
        files += files.empty() ? "" : ", ";
        files += file;
    }
    const Language language = options.language;
    return plane_picture(label(language, "Autovalores do ciclo: %s", {files}),
                         label(language, "Autovalores da matriz do ciclo"), files, roots,
                         label(language, "O ciclo nao tem autovalores."), options);
}

} // namespace ordimet::analyse
