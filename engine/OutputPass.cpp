#include "OutputPass.h"

#include <cstdint>
#include <memory>

#include "Controls.h"
#include "DxfError.h"
#include "DxfLineReader.h"
#include "DxfLineWriter.h"
#include "EntityFilter.h"
#include "EntitySection.h"

namespace lintrel {
namespace {

// Sets ProgressBar1 to the share of the file read so far, telling the window only of changes;
// between two percent steps it costs one comparison per line.
class Progress {
public:
    Progress(WindowOps& window, std::uint64_t size) : m_window(window), m_size(size) {}

    void at(std::uint64_t position) {
        if (position < m_next) {
            return;
        }
        int percent = m_size == 0
                          ? 100
                          : static_cast<int>(std::min<std::uint64_t>(100, position * 100 / m_size));
        m_window.setProgress(percent);
        m_next = percent >= 100 ? UINT64_MAX : ((percent + 1) * m_size + 99) / 100;
    }

private:
    WindowOps& m_window;
    std::uint64_t m_size;
    std::uint64_t m_next = 0;
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
    DxfLineReader reader(input);
    Progress progress(m_window, reader.size());
    m_window.setVisible(control::ProgressBar1, true);
    std::unique_ptr<OutputFile> file;
    if (!output.empty()) {
        file = std::make_unique<OutputFile>(output);
    }
    DxfLineWriter writer(file.get());
    EntitySection section(reader, m_options.recordTypes());
    EntityFilter filter(m_options, m_lines, m_counters, m_window, input);

    progress.at(0);
    section.readHead([&](std::string_view line) {
        progress.at(reader.position());
        writer.writeLine(line);
    });
    while (section.hasMore()) {
        m_window.yield();
        if (m_window.interruptRequested()) {
            throw RunInterrupted{};
        }
        progress.at(reader.position());
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
                        writer.writePair(record.code(i), record.value(i));
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
