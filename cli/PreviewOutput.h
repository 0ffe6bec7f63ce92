#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CleanRun.h"
#include "CutLength.h"
#include "ModelReadAhead.h"
#include "RunDecisions.h"

namespace lintrel {

// What a file's cut length came to, for the report.
struct FileCutLength {
    preview::CutLength cut;
    int insUnits = 0;
};

// The pictures and cut lengths lintrel-cli adds to a run: it listens to the run's decisions,
// then reads each finished drawing's model. The first drawing's model is read while the run
// decides it, and each next one while the picture of the one before is painted.
class PreviewOutput {
public:
    // `dir` empty: no pictures, only the cut lengths.
    PreviewOutput(std::string dir, std::string format)
        : m_dir(std::move(dir)), m_format(std::move(format)), m_observer(*this) {}

    DecisionObserver* observer() { return &m_observer; }

    // The cut length of every file the run finished, in its order, each picture written;
    // the first message of a drawing whose model could not be read or of a picture that could
    // not be written, if any, in `failure`. None when a model could not be read.
    // Stops before the next file once `isStopping` says so, or while it waits for a file's
    // preview to be made.
    std::vector<FileCutLength> finish(const RunReport& report, std::string& failure,
                                      const std::function<bool()>& isStopping);

private:
    // Passes the run's decisions on, and starts reading a drawing's model as the run begins it.
    class Listener : public DecisionObserver {
    public:
        explicit Listener(PreviewOutput& output) : m_output(output) {}
        void startFile(const std::string& path) override {
            m_output.m_readAhead.start(path);
            m_output.m_decisions.startFile(path);
        }
        void decided(std::uint64_t recordOffset, Verdict verdict) override {
            m_output.m_decisions.decided(recordOffset, verdict);
        }
        void lengthened(std::uint64_t recordOffset, const std::array<double, 4>& ends) override {
            m_output.m_decisions.lengthened(recordOffset, ends);
        }

    private:
        PreviewOutput& m_output;
    };

    std::string m_dir;
    std::string m_format;
    preview::RunDecisions m_decisions;
    Listener m_observer;
    preview::ModelReadAhead m_readAhead;
};

// The picture's path of a drawing: DIR/<name without .dxf>-preview.<format>.
std::string picturePathFor(const std::string& input, const std::string& dir,
                           const std::string& format);

}  // namespace lintrel
