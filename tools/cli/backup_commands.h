#pragma once
// The commands that back up and restore all three profiles at once, and list the automatic
// backups made before every write.

#include "tools/cli/cli_context.h"

// backup FILE: saves the three profiles the receiver holds as one backup file.
int BackUpProfiles(CliContext& context, char** arguments, int count);
// restore FILE | restore --latest: checks every record of the backup, then writes all three.
// --latest takes the newest sound backup that records it came from the receiver at hand.
int RestoreProfiles(CliContext& context, char** arguments, int count);
// backups [--all]: the automatic backups of the receiver at hand (of every receiver with --all),
// newest first, with their date, receiver and decoded profiles.
int ListBackups(CliContext& context, char** arguments, int count);
