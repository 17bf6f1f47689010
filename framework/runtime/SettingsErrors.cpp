#include "framework/runtime/SettingsErrors.h"

void RaiseIniWriteError(const std::string& fileName)
{
    throw EIniFileException("Unable to write to " + fileName);
}

namespace {

std::string WithCause(std::string message, const std::string& cause)
{
    return cause.empty() ? message : message + " (" + cause + ")";
}

} // namespace

void RaiseCreateKeyError(const std::string& key, const std::string& cause)
{
    throw ERegistryException(WithCause("Failed to create key " + key, cause));
}

void RaiseSetDataError(const std::string& valueName, const std::string& cause)
{
    throw ERegistryException(WithCause("Failed to set data for '" + valueName + "'", cause));
}

void RaiseInvalidDataType(const std::string& valueName)
{
    throw ERegistryException("Invalid data type for '" + valueName + "'");
}
