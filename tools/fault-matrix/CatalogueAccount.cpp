#include "tools/fault-matrix/CatalogueAccount.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <regex>

namespace {
std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::atomic<int> accountCount{0};
}  // namespace

CatalogueAccount::CatalogueAccount()
    : user_("mx" + std::to_string(::getpid()) + "_" + std::to_string(accountCount++)),
      password_("c0ffee42"),
      database_(Env("TELVIX_TEST_MARIADB_DATABASE")) {
    if (Env("TELVIX_TEST_MARIADB_SOCKET").empty() || database_.empty())
        return;
    valid_ = Admin("CREATE USER '" + user_ + "'@'127.0.0.1' IDENTIFIED BY '" + password_ +
                   "'; GRANT ALL ON `" + database_ + "`.* TO '" + user_ + "'@'127.0.0.1';");
}

CatalogueAccount::~CatalogueAccount() {
    if (valid_)
        Admin("DROP USER IF EXISTS '" + user_ + "'@'127.0.0.1';");
}

std::string CatalogueAccount::Connection(const std::string& sharedConnection) const {
    std::string text = std::regex_replace(sharedConnection, std::regex("User=[^;]*"), "User=" + user_);
    return std::regex_replace(text, std::regex("Password=[^;]*"), "Password=" + password_);
}

void CatalogueAccount::ChangePassword() {
    Admin("ALTER USER '" + user_ + "'@'127.0.0.1' IDENTIFIED BY 'n0tTh3s4me';");
}

void CatalogueAccount::RevokeUpdates() {
    Admin("REVOKE UPDATE ON `" + database_ + "`.* FROM '" + user_ + "'@'127.0.0.1';");
}

void CatalogueAccount::RevokeSoftwareReads() {
    Admin("REVOKE SELECT ON `" + database_ + "`.* FROM '" + user_ + "'@'127.0.0.1';");
}

bool CatalogueAccount::Admin(const std::string& sql) const {
    std::string quoted;  // inside the shell's double quotes
    for (char c : sql) {
        if (c == '`' || c == '"' || c == '\\' || c == '$')
            quoted += '\\';
        quoted += c;
    }
    const std::string command = "mariadb --no-defaults --socket='" + Env("TELVIX_TEST_MARIADB_SOCKET") +
                                "' --user=root -e \"" + quoted + "\" >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}
