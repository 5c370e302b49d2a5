#include "demo/schema_loader.h"

#include "text/error.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace demo {
namespace {

struct ScriptStatement {
    std::string text;
    int line = 1; // where the statement starts, for error messages
};

std::string upper(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::string trimmed(std::string_view s)
{
    const auto isBlank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!s.empty() && isBlank(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return std::string(s);
}

std::vector<std::string> words(std::string_view s)
{
    std::vector<std::string> out;
    std::istringstream in{std::string(s)};
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

// "SET TERM <new>": the terminator changes for the statements that follow. The old
// terminator that ends the command itself has already been cut off.
bool isSetTerm(const std::vector<std::string>& w)
{
    return w.size() >= 3 && upper(w[0]) == "SET" && upper(w[1]) == "TERM";
}

// Commands of the isql tool that are no SQL: the connection already has a dialect and
// commits every statement itself.
bool isToolCommand(const std::vector<std::string>& w)
{
    if (w.empty())
        return false;
    const std::string first = upper(w[0]);
    if (first == "COMMIT")
        return w.size() == 1 || (w.size() == 2 && upper(w[1]) == "WORK");
    if (first != "SET" || w.size() < 2)
        return false;
    const std::string second = upper(w[1]);
    return second == "SQL" || second == "NAMES" || second == "AUTODDL" || second == "LIST" || second == "ECHO";
}

// Splits a script at its terminators. Comments are left out of the statements; quoted
// strings and quoted identifiers are copied whole, whatever they hold.
std::vector<ScriptStatement> splitScript(const std::string& script)
{
    std::vector<ScriptStatement> statements;
    std::string terminator = ";";
    std::string current;
    int line = 1;
    int statementLine = 1;
    const std::size_t n = script.size();

    const auto finish = [&](std::string text) {
        const std::string body = trimmed(text);
        if (body.empty())
            return;
        const auto w = words(body);
        if (isSetTerm(w)) {
            terminator = w[2];
            return;
        }
        if (isToolCommand(w))
            return;
        statements.push_back({body, statementLine});
    };

    bool started = false; // the current statement has more than blanks
    const auto append = [&](std::string_view piece) {
        if (!started && !trimmed(piece).empty()) {
            started = true;
            statementLine = line;
        }
        current += piece;
    };

    std::size_t i = 0;
    while (i < n) {
        const char c = script[i];

        if (c == '-' && i + 1 < n && script[i + 1] == '-') {
            while (i < n && script[i] != '\n')
                ++i; // the line break itself is kept
            continue;
        }
        if (c == '/' && i + 1 < n && script[i + 1] == '*') {
            const std::size_t end = script.find("*/", i + 2);
            const std::size_t stop = end == std::string::npos ? n : end + 2;
            const std::string_view comment = std::string_view(script).substr(i, stop - i);
            line += static_cast<int>(std::count(comment.begin(), comment.end(), '\n'));
            current += ' ';
            i = stop;
            continue;
        }
        if (c == '\'' || c == '"') {
            // A doubled quote inside is part of the text; the scan simply reopens it.
            const std::size_t close = script.find(c, i + 1);
            const std::size_t stop = close == std::string::npos ? n : close + 1;
            const std::string_view quoted = std::string_view(script).substr(i, stop - i);
            append(quoted);
            line += static_cast<int>(std::count(quoted.begin(), quoted.end(), '\n'));
            i = stop;
            continue;
        }
        if (script.compare(i, terminator.size(), terminator) == 0) {
            finish(current);
            current.clear();
            started = false;
            i += terminator.size();
            continue;
        }
        append(std::string_view(&script[i], 1));
        if (c == '\n')
            ++line;
        ++i;
    }
    finish(current);
    return statements;
}

} // namespace

void runScript(db::Connection& connection, const std::string& script)
{
    for (const ScriptStatement& statement : splitScript(script)) {
        try {
            connection.execute(statement.text);
        } catch (const text::UserError& e) {
            throw text::UserError(std::string(e.what()) + "\n(script line " + std::to_string(statement.line) + ")");
        }
    }
}

namespace {

void runScriptFile(db::Connection& connection, const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw text::UserError(text::formatMessage("Cannot open file \"%s\".", file));
    std::ostringstream content;
    content << in.rdbuf();
    runScript(connection, content.str());
}

} // namespace

extern const char schemaScript[]; // demo/schema.sql and demo/roles.sql, generated by the build
extern const char rolesScript[];

void createSchema(db::Connection& connection)
{
    runScript(connection, schemaScript);
    runScript(connection, rolesScript);
}

void createSchema(db::Connection& connection, const std::string& schemaFile)
{
    runScriptFile(connection, schemaFile);
    runScript(connection, rolesScript);
}

} // namespace demo
