#include "framework/runtime/SettingsErrors.h"

void RaiseIniWriteError(const std::string& fileName)
{
    throw EIniFileException("Unable to write to " + fileName);
}

void RaiseCreateKeyError(const std::string& key)
{
    throw ERegistryException("Failed to create key " + key);
}

void RaiseSetDataError(const std::string& valueName)
{
    throw ERegistryException("Failed to set data for '" + valueName + "'");
}

void RaiseInvalidDataType(const std::string& valueName)
{
    throw ERegistryException("Invalid data type for '" + valueName + "'");
}
