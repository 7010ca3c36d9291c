// A fresh database on the test PostgreSQL server (tests/servers/postgres.sh)
// for one test: made by the server's superuser, owned by the role "broker"
// the archive then works as, so nothing needs more than an office's role.
#pragma once

#include <libpq-fe.h>

#include <cctype>
#include <stdexcept>
#include <string>

namespace kovra::testing {

// The URI of database `name` on the server whose socket is in `socket`.
inline std::string PgUri(const std::string& socket, const std::string& name, const char* user = "broker")
{
    return "postgresql:///" + name + "?host=" + socket + "&user=" + user;
}

// A database name from any text: lower case letters, digits and _.
inline std::string PgDatabaseName(const std::string& text)
{
    std::string name = "t_";
    for (const char c : text)
        name.push_back(std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '_');
    return name.substr(0, 63);
}

// Drops database `name` if there and makes it again, empty; its URI.
inline std::string FreshPgDatabase(const std::string& socket, const std::string& name)
{
    PGconn* c = PQconnectdb(PgUri(socket, "postgres", "kovra").c_str());
    PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
    auto run = [c](const std::string& sql) {
        PGresult* r = PQexec(c, sql.c_str());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        if (!ok)
            throw std::runtime_error(sql + ": " + PQerrorMessage(c));
    };
    try {
        if (PQstatus(c) != CONNECTION_OK)
            throw std::runtime_error(PQerrorMessage(c));
        run("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
        run("CREATE DATABASE " + name + " OWNER broker");
    } catch (...) {
        PQfinish(c);
        throw;
    }
    PQfinish(c);
    return PgUri(socket, name);
}

} // namespace kovra::testing
