#!/usr/bin/env bash
# unregister.sh [adostub.dll]: gives ADODB.Connection and ADODB.Command back to the classes that
# they named before register.sh (Wine's own data-access objects).
ADOSTUB_ACTION=/u exec "$(dirname "$0")/register.sh" "$@"
