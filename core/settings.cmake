# The program's settings files: the INI store, where the files live, the pages' stored state and the
# page base operations, the remembered phone numbers. Toolkit-free.
add_library(nvx_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsLocation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageBaseOps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PhoneList.cpp
)
target_link_libraries(nvx_settings PUBLIC nvx_core)
