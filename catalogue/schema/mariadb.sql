-- Catalogue schema, MariaDB/MySQL flavour: the tables and columns the updater reads and writes.
CREATE TABLE tolvanesw (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  mfg_id VARCHAR(15) NOT NULL,
  sw_id INT NOT NULL,
  sw_build INT NULL,
  sw_description VARCHAR(255) NULL,
  sw_valid_status INT NOT NULL DEFAULT 1,
  sw_update_type INT NOT NULL DEFAULT 0,
  sw_filename VARCHAR(64) NULL,
  sw_path VARCHAR(64) NULL,
  sw_label VARCHAR(64) NULL,
  http_users_manual VARCHAR(255) NULL,
  vehicle_make VARCHAR(64) NOT NULL,
  vehicle_model VARCHAR(64) NOT NULL,
  vehicle_year_from VARCHAR(9) NULL,
  vehicle_year_to VARCHAR(9) NULL,
  vehicle_transmission INT NULL,
  SW_LENGTH INT UNSIGNED NULL,
  SW_MD5 VARCHAR(32) NULL,
  KEY tolvanesw_vehicle (mfg_id, vehicle_make, vehicle_model),
  KEY tolvanesw_software (mfg_id, sw_id)
) DEFAULT CHARSET=utf8mb4;

CREATE TABLE tolvanedevice (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  mfg_id VARCHAR(15) NOT NULL,
  mcu_serial VARCHAR(35) NOT NULL,
  sw_id INT NULL,
  sw_build INT NULL,
  vehicle_make VARCHAR(64) NULL,
  vehicle_model VARCHAR(64) NULL,
  label_serial VARCHAR(32) NULL,
  total_updates INT NOT NULL DEFAULT 0,
  updated_by INT NULL,
  update_date VARCHAR(10) NULL,
  UNIQUE KEY tolvanedevice_serial (mcu_serial)
) DEFAULT CHARSET=utf8mb4;

CREATE TABLE tolvanehw (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  mfg_id VARCHAR(15) NOT NULL,
  hw_hid INT NULL,
  hw_description VARCHAR(128) NULL,
  KEY tolvanehw_model (mfg_id)
) DEFAULT CHARSET=utf8mb4;

CREATE TABLE feature_label (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  mfg_id VARCHAR(15) NOT NULL,
  sw_id INT NOT NULL,
  label_idx INT NOT NULL,
  label_desc VARCHAR(64) NULL,
  KEY feature_label_software (mfg_id, sw_id)
) DEFAULT CHARSET=utf8mb4;

CREATE TABLE kio_version (
  kio_version_no VARCHAR(16) NOT NULL
) DEFAULT CHARSET=utf8mb4;
