// The headless command qmk: arguments, the run over the files, and its figures.
#include "cli/qmk.h"

#include <chrono>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <variant>
#include <cstdio>
#include <sstream>

#include "engine/engine_data.h"
#include "engine/file_io.h"
#include "engine/optimize.h"
#include "engine/page_text.h"
#include "settings/option_set.h"
#include "settings/profile.h"

namespace qm {
namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: qmk [--profile FILE] [--data DIR] -o DIR FILE...\n"
    "       qmk [--profile FILE] [--data DIR] -\n";

struct Arguments {
    std::optional<fs::path> profile;
    std::optional<fs::path> data;
    std::optional<fs::path> outputFolder;
    bool standardInput = false;
    std::vector<fs::path> files;
};

struct UsageError {
    std::string text;
};

std::variant<Arguments, UsageError> Parse(const std::vector<std::string>& arguments)
{
    Arguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--profile" || argument == "--data" || argument == "-o") {
            if (i + 1 >= arguments.size()) return UsageError{argument + " needs a value"};
            const std::string& given = arguments[++i];
            if (argument == "--profile") parsed.profile = given;
            if (argument == "--data") parsed.data = given;
            if (argument == "-o") parsed.outputFolder = given;
        } else if (argument == "-") {
            parsed.standardInput = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return UsageError{"unknown option " + argument};
        } else {
            parsed.files.emplace_back(argument);
        }
    }
    if (parsed.standardInput && (!parsed.files.empty() || parsed.outputFolder))
        return UsageError{"\"-\" reads one page from standard input and takes neither files nor -o"};
    if (!parsed.standardInput && !parsed.outputFolder) return UsageError{"no output folder: give -o DIR"};
    if (!parsed.standardInput && parsed.files.empty()) return UsageError{"no files to optimize"};
    return parsed;
}

// Pass messages go to standard error with the file they concern.
class StreamSink : public MessageSink {
public:
    explicit StreamSink(std::ostream& err) : err_(err) {}
    void setFile(std::string file) { file_ = std::move(file); }
    void report(MessageKind, std::string_view text) override { err_ << "qmk: " << file_ << ": " << text << "\n"; }

private:
    std::ostream& err_;
    std::string file_;
};

struct Totals {
    std::int64_t initial = 0;
    std::int64_t optimized = 0;
    std::int64_t ratioSum = 0;
    int maxRatio = 0;
    std::int64_t files = 0;

    void add(std::int64_t initialSize, std::int64_t optimizedSize)
    {
        ++files;
        initial += initialSize;
        optimized += optimizedSize;
        if (std::optional<int> ratio = FileRatio(initialSize, optimizedSize)) {
            ratioSum += *ratio;
            if (*ratio > maxRatio) maxRatio = *ratio;
        }
    }
};

std::string Duration(std::chrono::steady_clock::duration elapsed)
{
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
        static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string RatioText(std::optional<int> ratio) { return ratio ? std::to_string(*ratio) + " %" : "-"; }

void PrintTotals(std::ostream& out, const Totals& totals, std::chrono::steady_clock::duration elapsed)
{
    out << "Files processed: " << totals.files << "\n"
        << "Bytes removed: " << (totals.initial - totals.optimized) << "\n"
        << "Average optimization ratio: " << (totals.files ? totals.ratioSum / totals.files : 0) << " %\n"
        << "Max optimization ratio: " << totals.maxRatio << " %\n"
        << "Time elapsed: " << Duration(elapsed) << "\n";
}

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

} // namespace

int RunQmk(const std::vector<std::string>& arguments, CommandStreams streams, const fs::path& programFolder)
{
    auto parsed = Parse(arguments);
    if (auto* usage = std::get_if<UsageError>(&parsed)) {
        streams.err << "qmk: " << usage->text << "\n" << kUsage;
        return 2;
    }
    const Arguments& args = std::get<Arguments>(parsed);

    TOptionSet options;
    if (args.profile) {
        std::error_code ec;
        if (!fs::is_regular_file(*args.profile, ec)) {
            streams.err << "qmk: no profile at " << args.profile->string() << "\n";
            return 2;
        }
        options.setText(Opt::edProfile, fs::absolute(*args.profile).string());
        SettingsStatus status = LoadProfile(options, programFolder.string());
        if (!status) {
            streams.err << "qmk: cannot read the profile " << args.profile->string() << ": " << status.reason << "\n";
            return 2;
        }
    }
    const EngineData data = LoadEngineData(args.data ? *args.data : programFolder);
    StreamSink sink(streams.err);

    if (args.standardInput) {
        std::string source{std::istreambuf_iterator<char>(streams.in), std::istreambuf_iterator<char>()};
        sink.setFile("standard input");
        OptimizedPage page = OptimizePageBytes(source, options, data, sink);
        if (page.outcome != PipelineOutcome::Completed) {
            streams.err << "qmk: standard input: "
                        << (page.problem.empty() ? "Error during optimization process" : page.problem) << "\n";
            return 1;
        }
        streams.out << page.bytes;
        streams.err << "standard input: " << source.size() << " -> " << page.bytes.size() << " bytes, ratio "
                    << RatioText(FileRatio(static_cast<std::int64_t>(source.size()),
                           static_cast<std::int64_t>(page.bytes.size())))
                    << "\n";
        return 0;
    }

    std::error_code ec;
    fs::create_directories(*args.outputFolder, ec);
    if (!fs::is_directory(*args.outputFolder, ec)) {
        streams.err << "qmk: cannot create the output folder " << args.outputFolder->string() << "\n";
        return 1;
    }

    const auto start = std::chrono::steady_clock::now();
    Totals totals;
    bool anyFailed = false;
    std::set<fs::path> written;
    for (const fs::path& source : args.files) {
        const std::string name = source.string();
        auto fail = [&](const std::string& why) {
            streams.err << "qmk: " << name << ": " << why << "\n";
            anyFailed = true;
        };
        const fs::path target = *args.outputFolder / source.filename();
        if (SameFile(source, target)) {
            fail("the output would replace the source itself; choose another output folder");
            continue;
        }
        if (!written.insert(fs::weakly_canonical(target, ec)).second) {
            fail("another file of this run was already written as " + target.string());
            continue;
        }
        ReadResult file = ReadFileBytes(source);
        if (!file.bytes) {
            fail(file.error.reason);
            continue;
        }
        sink.setFile(name);
        OptimizedPage page = OptimizePageBytes(*file.bytes, options, data, sink);
        if (page.outcome != PipelineOutcome::Completed) {
            fail(page.problem.empty() ? "Error during optimization process" : "not optimized: " + page.problem);
            continue;
        }
        if (auto error = WriteFileAtomically(target, page.bytes)) {
            fail(error->reason);
            continue;
        }
        const std::int64_t initialSize = static_cast<std::int64_t>(file.bytes->size());
        const std::int64_t optimizedSize = FileSizeOf(target);
        totals.add(initialSize, optimizedSize);
        streams.out << name << ": " << initialSize << " -> " << optimizedSize << " bytes, ratio "
                    << RatioText(FileRatio(initialSize, optimizedSize)) << "\n";
    }
    PrintTotals(streams.out, totals, std::chrono::steady_clock::now() - start);
    return anyFailed ? 1 : 0;
}

} // namespace qm
