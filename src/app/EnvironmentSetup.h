#pragma once
// The set-up every start runs once, as the last step of creating the configuration: it forms the
// registry path and loads the user settings.

class ClientConfig;

void RunEnvironmentSetup(ClientConfig& config);
