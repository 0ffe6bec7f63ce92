#include "OutputPass.h"

#include <cmath>
#include <memory>

#include "Controls.h"
#include "DxfError.h"
#include "DxfLineReader.h"
#include "DxfLineWriter.h"
#include "EntityFilter.h"
#include "EntitySection.h"

namespace lintrel {
namespace {

// Sets ProgressBar1 to the share of the file's lines read, telling the window only of changes.
class Progress {
public:
    Progress(WindowOps& window, long total) : m_window(window), m_total(total) {}

    void at(long linesRead) {
        // Halves go to the even percentage, as the progress bar rounds.
        int percent = static_cast<int>(std::nearbyint(100.0 * static_cast<double>(linesRead) /
                                                      static_cast<double>(m_total)));
        percent = std::min(percent, 100);
        if (percent != m_shown) {
            m_shown = percent;
            m_window.setProgress(percent);
        }
    }

private:
    WindowOps& m_window;
    long m_total;
    int m_shown = -1;
};

}  // namespace

std::string outputPathFor(const std::string& input, const std::string& outputDir) {
    std::string path = input.substr(0, input.size() >= 4 ? input.size() - 4 : 0) + "-Cut.dxf";
    path.erase(0, path.find_first_not_of(' '));
    if (outputDir.empty()) {
        return path;
    }
    auto slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return outputDir.back() == '/' ? outputDir + name : outputDir + "/" + name;
}

void OutputPass::run(const std::string& input, const std::string& output) {
    Progress progress(m_window, countLineEnds(input) + 1);
    m_window.setVisible(control::ProgressBar1, true);
    DxfLineReader reader(input);
    std::unique_ptr<OutputFile> file;
    if (!output.empty()) {
        file = std::make_unique<OutputFile>(output);
    }
    DxfLineWriter writer(file.get());
    EntitySection section(reader, m_options.recordTypes());
    EntityFilter filter(m_options, m_lines, m_counters, m_window, input);

    progress.at(0);
    section.readHead([&](std::string_view line) {
        progress.at(reader.lineNumber());
        writer.writeLine(line);
    });
    while (section.hasMore()) {
        m_window.yield();
        if (m_window.interruptRequested()) {
            throw RunInterrupted{};
        }
        progress.at(reader.lineNumber());
        switch (section.next()) {
            case EntitySection::Item::Line:
                writer.writeLine(section.line());
                break;
            case EntitySection::Item::OtherRecordHead:
                writer.writePair(kRecordStart, section.typeName());
                break;
            case EntitySection::Item::Record:
                if (filter.keep(section.typeName(), section.record(), reader.lineNumber())) {
                    writer.writePair(kRecordStart, section.typeName());
                    const EntityRecord& record = section.record();
                    for (int i = 0; i < record.size(); ++i) {
                        writer.writePair(record[i].code, record[i].value);
                    }
                }
                break;
        }
    }
    if (file) {
        file->commit();
    }
    m_window.setVisible(control::ProgressBar1, false);
}

}  // namespace lintrel
