#pragma once

// The JSON report of ordimet-analyse, version 1 of the schema documented in
// docs/analyse-json.md.

#include "analyse/model/failure.hpp"
#include "analyse/model/method.hpp"
#include "analyse/sampling/sampling.hpp"

#include <span>
#include <string>

namespace ordimet::analyse {

// The version of the JSON schema; every object carries it.
inline constexpr int JSON_SCHEMA_VERSION = 1;

// Appends the method object of an analysed method to `out`, on one line,
// followed by a line end. With `samples` (one per algorithm, given when
// pictures are drawn) each algorithm object also carries its sampled
// boundary locus (m = 1) or root moduli (m = 2).
void write_json_report(const MethodAnalysis& method, std::string& out,
                       std::span<const AlgorithmSamples> samples = {});

// Appends the error object of a method that could not be analysed, on one
// line, followed by a line end. `file` is the file at fault (empty: none is
// named, and "file" is null).
void write_json_error(const AnalysisOutcome& outcome, const std::string& file, std::string& out);

} // namespace ordimet::analyse
