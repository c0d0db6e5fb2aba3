// Which pictures a method gets, under which names, written into the folder.

#include "analyse/pictures/pictures.hpp"

#include <filesystem>

namespace ordimet::analyse {
namespace {

// The pictures of one method being written, and what could not be.
struct Writer {
    const PictureOptions& options;
    PictureFolder& folder;
    std::vector<PictureFailure>& failures;

    void write(const std::string& name, const std::string& text) {
        const PictureWrite written = write_picture_file(folder, name, text);
        if (written != PictureWrite::WRITTEN) {
            failures.push_back({(std::filesystem::path(folder.path) / name).string(), written});
        }
    }
};

// The slope of the reference lines of a convergence picture: the order of
// the global error, when known and at least 1.
std::optional<long> reference_order(bool known, std::int64_t order) {
    return known && order >= 1 ? std::optional<long>(static_cast<long>(order)) : std::nullopt;
}

// The convergence runs drawn under an algorithm's stem: the method's for SI
// (CI draws them under the cycle's), the algorithm's own for CO.
std::span<const ConvergenceRun> algorithm_runs(const MethodAnalysis& method,
                                               const AlgorithmAnalysis& algorithm) {
    switch (method.kind) {
    case MethodKind::SIMPLE:
        return method.convergence;
    case MethodKind::COMPOSITE:
        return algorithm.convergence;
    case MethodKind::CYCLIC:
        break;
    }
    return {};
}

void write_algorithm(Writer& writer, const MethodAnalysis& method,
                     const AlgorithmAnalysis& algorithm, const AlgorithmSamples* samples) {
    const std::span<const ConvergenceRun> runs = algorithm_runs(method, algorithm);
    const bool phase = method.m == 2 && samples != nullptr && !samples->phase_h.empty();
    std::vector<const char*> suffixes{"-raizes.svg"};
    if (method.m == 1) {
        suffixes.push_back("-regiao.svg");
    } else if (method.m == 2) {
        suffixes.insert(suffixes.end(), {"-periodicidade.svg", "-fase.svg"});
    }
    if (!runs.empty()) {
        suffixes.push_back("-convergencia.svg");
    }
    const std::string stem = unique_stem(algorithm.file, suffixes, writer.folder);
    const PictureOptions& options = writer.options;
    writer.write(stem + "-raizes.svg", roots_picture(algorithm, options));
    if (method.m == 1 && samples != nullptr) {
        writer.write(stem + "-regiao.svg", region_picture(algorithm, *samples, options));
    } else if (method.m == 2 && samples != nullptr) {
        writer.write(stem + "-periodicidade.svg", branches_picture(algorithm, *samples, options));
    }
    if (phase) {
        writer.write(stem + "-fase.svg", phase_picture(algorithm, *samples, options));
    }
    if (!runs.empty()) {
        const bool own = method.kind == MethodKind::COMPOSITE;
        const std::optional<long> order =
            own ? reference_order(algorithm.zero_stable && algorithm.error_index >= 0,
                                  algorithm.order)
                : reference_order(method.convergence_order_known, method.convergence_order);
        writer.write(stem + "-convergencia.svg",
                     convergence_picture(algorithm.file, runs, order, options));
    }
}

// A cyclic method's own pictures, named after its first file: the cycle's
// eigenvalues and its convergence.
void write_cycle(Writer& writer, const MethodAnalysis& method) {
    const bool cycle = method.cycle.decided;
    const bool converge = !method.convergence.empty();
    if (method.files.empty() || (!cycle && !converge)) {
        return;
    }
    std::vector<const char*> suffixes;
    if (cycle) {
        suffixes.push_back("-ciclo.svg");
    }
    if (converge) {
        suffixes.push_back("-convergencia.svg");
    }
    const std::string stem = unique_stem(method.files[0], suffixes, writer.folder);
    if (cycle) {
        writer.write(stem + "-ciclo.svg", cycle_picture(method, writer.options));
    }
    if (converge) {
        std::string files;
        for (const std::string& file : method.files) {
            files += files.empty() ? "" : ", ";
            files += file;
        }
        const std::optional<long> order =
            reference_order(method.convergence_order_known, method.convergence_order);
        writer.write(stem + "-convergencia.svg",
                     convergence_picture(files, method.convergence, order, writer.options));
    }
}

} // namespace

void write_pictures(const MethodAnalysis& method, std::span<const AlgorithmSamples> samples,
                    const PictureOptions& options, PictureFolder& folder,
                    std::vector<PictureFailure>& failures) {
    Writer writer{options, folder, failures};
    for (std::size_t a = 0; a < method.algorithms.size(); ++a) {
        write_algorithm(writer, method, method.algorithms[a],
                        a < samples.size() ? &samples[a] : nullptr);
    }
    if (method.kind == MethodKind::CYCLIC) {
        write_cycle(writer, method);
    }
}

} // namespace ordimet::analyse
