#include "db/connection.h"

#include "platform/ini_file.h"
#include "platform/paths.h"
#include "text/error.h"

#include <cctype>

namespace db {

// A server address is "host:path" or "host/port:path"; everything else is a file for the
// embedded engine. A single letter before the colon is a Windows drive ("C:\data\b.fdb"),
// never a host, and a part before the colon that holds a backslash, starts with a slash or
// a dot, or has more than one slash belongs to a path.
bool ConnectionParams::embedded() const
{
    std::size_t colon = database.find(':');
    if (colon == std::string::npos || colon == 0)
        return true;
    std::string_view prefix(database.data(), colon);
    if (prefix.size() == 1 && std::isalpha(static_cast<unsigned char>(prefix[0])))
        return true;
    if (prefix.find('\\') != std::string_view::npos)
        return true;
    if (prefix.front() == '/' || prefix.front() == '.')
        return true;
    std::size_t slash = prefix.find('/');
    if (slash != std::string_view::npos && prefix.find('/', slash + 1) != std::string_view::npos)
        return true;
    return false;
}

ConnectionParams readConnectionDefinition(const std::string& iniPath, const std::string& name)
{
    if (!platform::fileExists(iniPath))
        throw text::UserError("The connection definition file " + iniPath + " does not exist, so the connection \"" +
                              name + "\" cannot be opened");
    platform::IniFile ini(iniPath);
    ConnectionParams params;
    params.database = ini.read(name, "Database");
    if (params.database.empty())
        throw text::UserError("The connection \"" + name + "\" is not defined in " + iniPath + ": its section [" +
                              name + "] names no Database");
    params.user = ini.read(name, "User", params.user);
    params.password = ini.read(name, "Password");
    params.role = ini.read(name, "Role");
    std::string dialect = ini.read(name, "Dialect", "3");
    if (dialect != "1" && dialect != "2" && dialect != "3")
        throw text::UserError("The connection \"" + name + "\" in " + iniPath + " gives the dialect '" + dialect +
                              "', which is not an SQL dialect (1, 2 or 3)");
    params.dialect = dialect[0] - '0';
    return params;
}

} // namespace db
