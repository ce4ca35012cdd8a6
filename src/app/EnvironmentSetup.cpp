#include "app/EnvironmentSetup.h"

#include "config/ClientConfig.h"

void RunEnvironmentSetup(ClientConfig& config) {
    config.m_strRegPath = L"SOFTWARE\\Velmora\\" + config.UserClientAbout();
    config.m_settings.Load(config.m_strRegPath);
}
