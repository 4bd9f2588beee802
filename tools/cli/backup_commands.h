#pragma once
// The commands that back up and restore all three profiles at once, and list the automatic
// backups made before every write.

#include "tools/cli/cli_context.h"

// backup FILE: saves the three profiles the receiver holds as one backup file.
int BackUpProfiles(CliContext& context, char** arguments, int count);
// restore FILE | restore --latest: checks every record of the backup, then writes all three.
int RestoreProfiles(CliContext& context, char** arguments, int count);
// backups: the automatic backups, newest first, with their date and decoded profiles.
int ListBackups(CliContext& context, char** arguments, int count);
