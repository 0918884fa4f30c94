#include "cli/JsonReport.h"

#include "cli/CliApp.h"

namespace zavuv::cli {

Json reportJson(const CommandReport& report) {
    Json object;
    object["command"] = report.command;
    object["port"] = report.port ? Json(*report.port) : Json();
    object["ok"] = report.exitCode == kExitOk;
    object["exitCode"] = report.exitCode;
    Json status = Json::array();
    Json messages = Json::array();
    Json questions = Json::array();
    if (report.transcript) {
        status = report.transcript->statusLines();
        messages = report.transcript->messages();
        for (const AnsweredQuestion& question : report.transcript->questions())
            questions.push_back({{"question", question.question}, {"answer", question.answer}});
    }
    object["status"] = std::move(status);
    object["messages"] = std::move(messages);
    object["questions"] = std::move(questions);
    for (const auto& [key, value] : report.facts.items())
        object[key] = value;
    object["durationSeconds"] = report.durationSeconds;
    if (!report.data.is_null())
        object["data"] = report.data;
    return object;
}

void printJsonLine(std::ostream& out, const Json& object) {
    // Texts from files and boards need not be UTF-8: replace what is not.
    out << object.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n' << std::flush;
}

}  // namespace zavuv::cli
