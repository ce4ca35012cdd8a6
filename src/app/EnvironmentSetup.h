#pragma once
// The set-up every start runs once, as the last step of creating the configuration: it loads the user
// settings, records whether the browser plug-in is registered, gives the executable the product's name,
// puts the two desktop shortcuts in place and sets the browser engine's per-program switches. A later
// start finds most of it done. Every failure is silent: the client runs on as it can.

class ClientConfig;

void RunEnvironmentSetup(ClientConfig& config);

// The document-mode switch for an engine of the given major version: 8 gives 8888, 10 gives 10001,
// 11 gives 11000, any other 9999.
unsigned BrowserEmulationValueFor(int majorVersion);
// The value for the engine this program was built against.
unsigned BrowserEmulationValue();
