-- Catalogue schema, SQLite flavour (embedded catalogue). Text compares without regard to case,
-- as on the MariaDB catalogue.
CREATE TABLE tolvanesw (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  mfg_id TEXT NOT NULL COLLATE NOCASE,
  sw_id INTEGER NOT NULL,
  sw_build INTEGER NULL,
  sw_description TEXT NULL COLLATE NOCASE,
  sw_valid_status INTEGER NOT NULL DEFAULT 1,
  sw_update_type INTEGER NOT NULL DEFAULT 0,
  sw_filename TEXT NULL,
  sw_path TEXT NULL,
  sw_label TEXT NULL,
  http_users_manual TEXT NULL,
  vehicle_make TEXT NOT NULL COLLATE NOCASE,
  vehicle_model TEXT NOT NULL COLLATE NOCASE,
  vehicle_year_from TEXT NULL,
  vehicle_year_to TEXT NULL,
  vehicle_transmission INTEGER NULL,
  SW_LENGTH INTEGER NULL,
  SW_MD5 TEXT NULL
);
CREATE INDEX tolvanesw_vehicle ON tolvanesw (mfg_id, vehicle_make, vehicle_model);
CREATE INDEX tolvanesw_software ON tolvanesw (mfg_id, sw_id);

CREATE TABLE tolvanedevice (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  mfg_id TEXT NOT NULL COLLATE NOCASE,
  mcu_serial TEXT NOT NULL UNIQUE COLLATE NOCASE,
  sw_id INTEGER NULL,
  sw_build INTEGER NULL,
  vehicle_make TEXT NULL,
  vehicle_model TEXT NULL,
  label_serial TEXT NULL,
  total_updates INTEGER NOT NULL DEFAULT 0,
  updated_by INTEGER NULL,
  update_date TEXT NULL
);

CREATE TABLE tolvanehw (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  mfg_id TEXT NOT NULL COLLATE NOCASE,
  hw_hid INTEGER NULL,
  hw_description TEXT NULL
);
CREATE INDEX tolvanehw_model ON tolvanehw (mfg_id);

CREATE TABLE feature_label (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  mfg_id TEXT NOT NULL COLLATE NOCASE,
  sw_id INTEGER NOT NULL,
  label_idx INTEGER NOT NULL,
  label_desc TEXT NULL
);
CREATE INDEX feature_label_software ON feature_label (mfg_id, sw_id);

CREATE TABLE kio_version (
  kio_version_no TEXT NOT NULL
);
