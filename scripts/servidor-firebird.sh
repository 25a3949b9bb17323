#!/usr/bin/env bash
# A Firebird 3 server on 127.0.0.1 for the tests that reach databases as host:/path.
#   scripts/servidor-firebird.sh start   installs firebird3.0-server if missing, starts the server
#   scripts/servidor-firebird.sh stop    stops the server started here, by its PID
# The server runs as the unprivileged user "firebird" with a lock folder of its own, so that the
# embedded engine of the other tests (lock folder /tmp/firebird) never shares locks with it.
set -euo pipefail
cd "$(dirname "$0")/.."

ESTADO=${CONVERSOR_SERVIDOR_DIR:-/var/tmp/conversor-servidor-firebird}
TRAVAS=$ESTADO/travas
PIDFILE=$ESTADO/firebird.pid
LOG=$ESTADO/firebird.log
SENHA=plumcrest
PORTA=3050
export FIREBIRD_LOCK=$TRAVAS

SUDO=$([ "$(id -u)" = 0 ] || echo sudo)

em_execucao() {
  [ -f "$PIDFILE" ] && kill -0 "$(cat "$PIDFILE")" 2>/dev/null
}

porta_aberta() {
  (exec 3<>"/dev/tcp/127.0.0.1/$PORTA") 2>/dev/null
}

instala() {
  # The package asks for the SYSDBA password; the answer is given beforehand. Its postinst
  # sets the password through the embedded engine, which then uses our lock folder.
  $SUDO mkdir -p "$TRAVAS"
  echo "firebird3.0-server shared/firebird/sysdba_password/first_install password $SENHA" |
    $SUDO debconf-set-selections
  $SUDO env FIREBIRD_LOCK="$FIREBIRD_LOCK" make --no-print-directory deps-servidor
  local senhas=/etc/firebird/3.0/SYSDBA.password
  if ! $SUDO grep -qs "^ISC_PASSWORD=\"\\?$SENHA\"\\?\$" "$senhas"; then
    echo "create or alter user SYSDBA password '$SENHA';" |
      $SUDO env FIREBIRD_LOCK="$FIREBIRD_LOCK" isql-fb -q -user SYSDBA security.db
    $SUDO sed -i "s/^ *ISC_PASSWORD=.*/ISC_PASSWORD=\"$SENHA\"/" "$senhas"
  fi
}

inicia() {
  if em_execucao; then
    echo "Servidor Firebird já em execução (PID $(cat "$PIDFILE"))."
    return 0
  fi
  if porta_aberta; then
    echo "A porta $PORTA de 127.0.0.1 já está em uso por outro processo." >&2
    return 1
  fi
  instala
  $SUDO mkdir -p "$TRAVAS"
  $SUDO chown -R firebird:firebird "$TRAVAS"
  $SUDO chmod 0770 "$TRAVAS"
  # setpriv replaces itself with the server, so the PID we keep is the server's own.
  $SUDO env FIREBIRD_LOCK="$FIREBIRD_LOCK" setsid setpriv --reuid=firebird --regid=firebird \
    --init-groups /usr/sbin/firebird >"$LOG" 2>&1 </dev/null &
  echo $! | $SUDO tee "$PIDFILE" >/dev/null
  for _ in $(seq 1 50); do
    porta_aberta && break
    em_execucao || break
    sleep 0.2
  done
  if ! porta_aberta; then
    echo "O servidor Firebird não abriu a porta $PORTA:" >&2
    cat "$LOG" >&2 || true
    para || true
    return 1
  fi
  # RemoteBindAddress in firebird.conf decides where it listens; we want loopback only.
  if ss -ltnH "sport = :$PORTA" | awk '{print $4}' | grep -vqE '^(127\.0\.0\.1|\[::1\]):'; then
    echo "O servidor Firebird escuta fora de 127.0.0.1; parado." >&2
    para || true
    return 1
  fi
  echo "Servidor Firebird em 127.0.0.1:$PORTA (PID $(cat "$PIDFILE"), usuário firebird," \
    "travas em $TRAVAS)."
}

para() {
  if ! [ -f "$PIDFILE" ]; then
    echo "Servidor Firebird não está em execução."
    return 0
  fi
  local pid
  pid=$(cat "$PIDFILE")
  if kill -0 "$pid" 2>/dev/null; then
    $SUDO kill -TERM "$pid"
    for _ in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
    kill -0 "$pid" 2>/dev/null && $SUDO kill -KILL "$pid"
  fi
  $SUDO rm -f "$PIDFILE"
  echo "Servidor Firebird parado (PID $pid)."
}

case "${1:-}" in
  start) inicia ;;
  stop) para ;;
  *)
    echo "uso: $0 start|stop" >&2
    exit 2
    ;;
esac
