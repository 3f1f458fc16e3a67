-- What wixl writes differently from QLX957_Installer.wxs, set in the built
-- package by scripts/build-msi.sh (msibuild, one statement a line; lines
-- starting with "--" are comments).

-- A rollback action: a DLL in the Binary table (1) + Continue (64) + InScript
-- (1024) + Rollback (256) + NoImpersonate (2048).
UPDATE `CustomAction` SET `Type` = 3393 WHERE `Action` = 'QlxInstallRollback'
-- With a user interface, AppSearch runs before the installation's server
-- side takes over, which keeps only secure properties (wixl has no Secure
-- attribute; the first two are its own).
UPDATE `Property` SET `Value` = 'QLXOLDERPACKAGE;QLXNEWERPACKAGE;QLXOWNSDRIVER' WHERE `Property` = 'SecureCustomProperties'
