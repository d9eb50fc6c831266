#pragma once
// A catalogue account of one matrix cell on the private MariaDB server, made through the server's
// administrator socket so that a cell can change its password or take rights away while the
// program runs, without touching the account the other tests share. Dropped when destroyed.
#include <string>

class CatalogueAccount {
  public:
    // Copies the rights of the shared account on the catalogue database. Valid() is false when
    // the administrator socket is not known (TELVIX_TEST_MARIADB_SOCKET) or refused.
    CatalogueAccount();
    ~CatalogueAccount();
    CatalogueAccount(const CatalogueAccount&) = delete;
    CatalogueAccount& operator=(const CatalogueAccount&) = delete;

    bool Valid() const { return valid_; }
    // The connection string with this account's user and password in place of the shared one's.
    std::string Connection(const std::string& sharedConnection) const;

    void ChangePassword();       // the program's password is wrong from the next connect on
    void RevokeUpdates();        // UPDATE statements fail from the next connect on
    void RevokeSoftwareReads();  // SELECTs on tolvanesw fail from the next connect on

  private:
    bool Admin(const std::string& sql) const;
    std::string user_;
    std::string password_;
    std::string database_;
    bool valid_ = false;
};
