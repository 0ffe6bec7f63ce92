#pragma once

#include <string>
#include <vector>

#include "CleanRun.h"
#include "CutLength.h"
#include "RunDecisions.h"

namespace lintrel {

// What a file's cut length came to, for the report.
struct FileCutLength {
    preview::CutLength cut;
    int insUnits = 0;
};

// The pictures and cut lengths lintrel-cli adds to a run: it listens to the run's decisions,
// then reads each finished drawing's model.
class PreviewOutput {
public:
    // `dir` empty: no pictures, only the cut lengths.
    PreviewOutput(std::string dir, std::string format)
        : m_dir(std::move(dir)), m_format(std::move(format)) {}

    DecisionObserver* observer() { return &m_decisions; }

    // The cut length of every file the run finished, in its order, each picture written;
    // the message of a picture that could not be written, if any, in `failure`.
    std::vector<FileCutLength> finish(const RunReport& report, std::string& failure);

private:
    std::string m_dir;
    std::string m_format;
    preview::RunDecisions m_decisions;
};

// The picture's path of a drawing: DIR/<name without .dxf>-preview.<format>.
std::string picturePathFor(const std::string& input, const std::string& dir,
                           const std::string& format);

}  // namespace lintrel
