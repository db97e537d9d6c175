# Writes the build date (UTC, or SOURCE_DATE_EPOCH's for a reproducible
# build) into OUTPUT from TEMPLATE. configure_file leaves the file as it is
# when the date has not changed, so only a new day rebuilds what includes it.
string(TIMESTAMP WINSCOUT_BUILD_DATE "%Y-%m-%d" UTC)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
