#pragma once

#include "cli/CommandRegistry.h"

namespace trawlix::cli {

// Each command group lives in its own file and adds its commands here. A new group needs its
// function declared below and one line in RegisterAllCommands (CliApp.cpp).
void RegisterAllCommands(CommandRegistry& registry);

void RegisterListCommands(CommandRegistry& registry);
void RegisterProjectCommands(CommandRegistry& registry);
void RegisterCategoryCommands(CommandRegistry& registry);
void RegisterExchangeCommands(CommandRegistry& registry);
void RegisterScanCommands(CommandRegistry& registry);
void RegisterSettingsCommands(CommandRegistry& registry);
void RegisterToolCommands(CommandRegistry& registry);

}  // namespace trawlix::cli
