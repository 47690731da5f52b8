# The outside addresses are fixed values of the build. By default the program
# talks to the local song service (tools/song-service) on its fixed port.
set(SONGPICKER_LOCAL_PORT 47443)
set(local "localhost:${SONGPICKER_LOCAL_PORT}")

set(SONG_SERVICE_HOST "${local}" CACHE STRING "Song-search host, optionally with :port")
set(AVATAR_SERVICE_HOST "${local}" CACHE STRING "Avatar service host, optionally with :port")
set(FIRST_DEVELOPER_ACCOUNT "20200720" CACHE STRING "Brontelwick's account number at the avatar service")
set(SECOND_DEVELOPER_ACCOUNT "20200721" CACHE STRING "Tamsel's account number at the avatar service")
set(FIRST_DEVELOPER_HOME_PAGE "https://${local}/pages/brontelwick/home.html" CACHE STRING "Brontelwick's home page")
set(FIRST_DEVELOPER_BILIBILI_PAGE "https://${local}/pages/brontelwick/bilibili.html" CACHE STRING "Brontelwick's Bilibili page")
set(SECOND_DEVELOPER_HOME_PAGE "https://${local}/pages/tamsel/home.html" CACHE STRING "Tamsel's home page")
set(SECOND_DEVELOPER_BILIBILI_PAGE "https://${local}/pages/tamsel/bilibili.html" CACHE STRING "Tamsel's Bilibili page")
set(EXTRA_CA_FILE "${CMAKE_BINARY_DIR}/certs/ca.pem" CACHE FILEPATH
    "Extra CA certificate the HTTP client trusts besides the system's (empty: none)")

configure_file(${CMAKE_SOURCE_DIR}/src/platform/build_settings.h.in
               ${CMAKE_BINARY_DIR}/generated/build_settings.h @ONLY)
