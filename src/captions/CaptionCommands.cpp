#include "captions/CaptionCommands.h"

#include <sys/stat.h>

#include <algorithm>

#include "base/AtomicFile.h"
#include "base/TextCodec.h"
#include "captions/CaptionLanguages.h"
#include "captions/CaptionModel.h"
#include "captions/CaptionWriters.h"

namespace orvalis {

namespace {

constexpr const char* kUsage =
    "usage: orvalis --convert IN OUT [--class CLASS] [--encoding NAME]\n"
    "       orvalis --caption-info FILE [--encoding NAME]\n"
    "OUT's extension chooses the format: .srt, .vtt, .smi or .sami.\n";

struct CommandLine {
    std::string command;  // "--convert" or "--caption-info"
    std::vector<std::string> files;
    std::string languageClass;
    std::optional<text::Encoding> encoding;
};

// The command line, or a message saying what is wrong with it.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args,
                                            std::string& problem) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--convert" || a == "--caption-info") {
            if (!line.command.empty() && line.command != a) {
                problem = "--convert and --caption-info cannot be given together";
                return std::nullopt;
            }
            line.command = a;
            continue;
        }
        std::string value;
        std::string option = a;
        if (const std::size_t eq = a.find('='); a.starts_with("--") && eq != std::string::npos) {
            option = a.substr(0, eq);
            value = a.substr(eq + 1);
        } else if ((a == "--class" || a == "--encoding") && i + 1 < args.size()) {
            value = args[++i];
        } else if (a == "--class" || a == "--encoding") {
            problem = a + " needs a value";
            return std::nullopt;
        }
        if (option == "--class") {
            line.languageClass = value;
        } else if (option == "--encoding") {
            line.encoding = text::encodingNamed(value);
            if (!line.encoding) {
                problem = "unknown encoding '" + value +
                          "' (UTF-8, CP949, Shift-JIS, EUC-JP, GB18030, Big5, Windows-1252)";
                return std::nullopt;
            }
        } else if (a.starts_with("--") && a.size() > 2) {
            problem = "unknown option " + a;
            return std::nullopt;
        } else {
            line.files.push_back(a);
        }
    }
    const std::size_t wanted = line.command == "--convert" ? 2 : 1;
    if (line.files.size() != wanted) {
        problem = line.command +
                  (wanted == 2 ? " takes an input and an output file" : " takes one caption file");
        return std::nullopt;
    }
    return line;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The caption file read as the player reads it, with lines never cut; nothing (and a
// message) when it cannot be read or holds no caption.
std::optional<CaptionModel> readCaptions(const CommandLine& line, std::ostream& err,
                                         std::optional<std::string>& bytes) {
    const std::string& path = line.files[0];
    bytes = readWholeFile(path, CaptionModel::kMaxFileBytes);
    if (!bytes) {
        err << "orvalis: cannot read " << path
            << " (missing, unreadable, not a regular file, or over 64 MB)\n";
        return std::nullopt;
    }
    CaptionModel model;
    model.parseBytes(*bytes, kNoLineDivide, path, line.encoding);
    if (!model.hasCaptions()) {
        err << "orvalis: " << path << " holds no captions\n";
        return std::nullopt;
    }
    if (!model.tables().notice.empty()) err << "orvalis: " << model.tables().notice << '\n';
    return model;
}

// The language a --class names: its code as the player gives it ("KRCC", "EGCC" for
// "ENCC"), its class name, or a language tag ("ko", "en").
std::optional<int> languageNamed(const CaptionModel& model, const std::string& name) {
    const std::vector<std::string>& codes = model.languageCodes();
    const std::string wanted[] = {text::toUpperAscii(name), samiLanguageCode(name, ""),
                                  std::string(languageClassOfTag(name))};
    for (const std::string& w : wanted) {
        if (w.empty()) continue;
        auto found = std::find(codes.begin(), codes.end(), w);
        if (found != codes.end()) return static_cast<int>(found - codes.begin());
    }
    return std::nullopt;
}

std::string classesText(const CaptionModel& model) {
    std::string out;
    for (const std::string& code : model.languageCodes()) out += (out.empty() ? "" : ", ") + code;
    return out;
}

std::string encodingText(const CaptionModel& model, bool wholeUtf8) {
    const text::TextEncoding& e = model.encoding();
    std::string out(text::encodingName(e.encoding));
    if (e.encoding == text::Encoding::Utf8 && !wholeUtf8)
        out += ", with lines in " + std::string(text::encodingName(e.otherLines));
    return out;
}

std::string cuesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " cue" : " cues");
}

const char* formatName(CaptionFormat format) {
    switch (format) {
        case CaptionFormat::SubRip:
            return "SubRip";
        case CaptionFormat::WebVtt:
            return "WebVTT";
        case CaptionFormat::Sami:
            break;
    }
    return "SAMI";
}

int captionInfo(const CommandLine& line, std::ostream& out, std::ostream& err) {
    std::optional<std::string> bytes;
    std::optional<CaptionModel> model = readCaptions(line, err, bytes);
    if (!model) return 1;
    out << "file: " << line.files[0] << '\n';
    out << "format: " << formatName(model->format()) << '\n';
    out << "encoding: " << encodingText(*model, text::isValidUtf8(*bytes)) << '\n';
    for (int i = 0; i < model->languageCount(); ++i) {
        const std::vector<CaptionCue> cues =
            captionCues(model->tables(), i, CaptionModel::kHoldMilliseconds);
        out << "class " << model->languageCodes()[static_cast<std::size_t>(i)] << ": "
            << cuesText(cues.size());
        if (!cues.empty())
            out << ", " << cueTime(cues.front().startMs) << " --> " << cueTime(cues.back().endMs);
        out << '\n';
    }
    return 0;
}

int convert(const CommandLine& line, std::ostream& out, std::ostream& err) {
    const std::string& in = line.files[0];
    const std::string& outPath = line.files[1];
    const std::optional<CaptionFormat> format = outputFormatOf(outPath);
    if (!format) {
        err << "orvalis: " << outPath
            << ": the output's extension must be .srt, .vtt, .smi or .sami\n";
        return 2;
    }
    if (in == outPath || sameFile(in, outPath)) {
        err << "orvalis: " << outPath << " is the input file itself; it is left as it is\n";
        return 1;
    }
    std::optional<std::string> bytes;
    std::optional<CaptionModel> model = readCaptions(line, err, bytes);
    if (!model) return 1;

    std::vector<int> languages;
    if (!line.languageClass.empty()) {
        std::optional<int> chosen = languageNamed(*model, line.languageClass);
        if (!chosen) {
            err << "orvalis: " << in << " has no class " << line.languageClass << " (it has "
                << classesText(*model) << ")\n";
            return 1;
        }
        languages.push_back(*chosen);
    } else if (*format == CaptionFormat::Sami) {
        for (int i = 0; i < model->languageCount(); ++i) languages.push_back(i);
    } else {
        languages.push_back(0);  // the language the player shows first
    }

    std::vector<SamiTrack> tracks;
    std::size_t cueCount = 0;
    for (int language : languages) {
        tracks.push_back({model->languageCodes()[static_cast<std::size_t>(language)],
                          captionCues(model->tables(), language, CaptionModel::kHoldMilliseconds)});
        cueCount += tracks.back().cues.size();
    }
    std::string written;
    if (*format == CaptionFormat::SubRip)
        written = writeSubRip(tracks[0].cues);
    else if (*format == CaptionFormat::WebVtt)
        written = writeWebVtt(tracks[0].cues);
    else
        written = writeSami(tracks);
    if (!writeFileAtomically(outPath, written)) {
        err << "orvalis: cannot write " << outPath << "\n";
        return 1;
    }
    out << outPath << ": " << cuesText(cueCount) << " of ";
    for (std::size_t i = 0; i < tracks.size(); ++i)
        out << (i ? ", " : "") << tracks[i].languageCode;
    out << '\n';
    return 0;
}

}  // namespace

std::optional<int> runCaptionCommand(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err) {
    const bool caption = std::any_of(args.begin(), args.end(), [](const std::string& a) {
        return a == "--convert" || a == "--caption-info";
    });
    if (!caption) return std::nullopt;
    std::string problem;
    std::optional<CommandLine> line = parseCommandLine(args, problem);
    if (!line) {
        err << "orvalis: " << problem << '\n' << kUsage;
        return 2;
    }
    return line->command == "--convert" ? convert(*line, out, err) : captionInfo(*line, out, err);
}

}  // namespace orvalis
