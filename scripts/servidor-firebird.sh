#!/usr/bin/env bash
# A Firebird 3 server on 127.0.0.1 for the tests that reach databases as host:/path.
#   scripts/servidor-firebird.sh start   installs firebird3.0-server if missing, starts the server
#   scripts/servidor-firebird.sh stop    stops the server started here, by its PID
# The server runs as the unprivileged user "firebird" with a lock folder of its own, so that the
# embedded engine of the other tests (lock folder /tmp/firebird) never shares locks with it.
# CONVERSOR_SERVIDOR_DIR (its state folder) and CONVERSOR_SERVIDOR_PORTA (default 3050) let a
# second server run beside the first; the servidor tests read the same port variable.
set -euo pipefail
cd "$(dirname "$0")/.."

ESTADO=${CONVERSOR_SERVIDOR_DIR:-/var/tmp/conversor-servidor-firebird}
TRAVAS=$ESTADO/travas
PIDFILE=$ESTADO/firebird.pid
LOG=$ESTADO/firebird.log
# The server's configuration root: the package's files, but a firebird.conf of our own.
RAIZ=$ESTADO/raiz
SENHA=plumcrest
PORTA=${CONVERSOR_SERVIDOR_PORTA:-3050}
# Where the server itself writes what goes wrong (the package's log folder, not ours).
LOG_FIREBIRD=/var/log/firebird/firebird3.0.log
export FIREBIRD_LOCK=$TRAVAS

SUDO=$([ "$(id -u)" = 0 ] || echo sudo)

em_execucao() {
  [ -f "$PIDFILE" ] && kill -0 "$(cat "$PIDFILE")" 2>/dev/null
}

porta_aberta() {
  (exec 3<>"/dev/tcp/127.0.0.1/$PORTA") 2>/dev/null
}

# Every local address with a listening socket on our port, e.g. "[::1]:3050".
escutas() {
  ss -ltnH "sport = :$PORTA" | awk '{print $4}' | sort -u | paste -sd ' ' -
}

# Debian's firebird.conf says "RemoteBindAddress = localhost", and with a stock /etc/hosts
# localhost is ::1 as well, where the server then listens alone. The tests look at 127.0.0.1:
# the server gets that address and our port in a copy of the configuration, read from a root
# of its own; every other file of the root is the package's. The character sets' module is
# copied, not linked: the server does not load it through a link, and every connection of ours
# asks for WIN1252. The root is made again at every start, from the package as it is then.
prepara_raiz() {
  local pacote="" msg
  for msg in /usr/lib/*/firebird/3.0/firebird.msg; do
    [ -f "$msg" ] && pacote=$(dirname "$msg") && break
  done
  [ -n "$pacote" ] || {
    echo "A raiz do Firebird 3.0 (firebird.msg) não foi encontrada em /usr/lib." >&2
    return 1
  }
  $SUDO rm -rf "$RAIZ"
  $SUDO mkdir -p "$RAIZ"
  local item
  for item in "$pacote"/*; do
    case $(basename "$item") in
      firebird.conf) ;;
      intl) $SUDO cp -RL "$item" "$RAIZ/intl" ;;
      *) $SUDO ln -s "$item" "$RAIZ/" ;;
    esac
  done
  {
    grep -vE '^[[:space:]]*(RemoteBindAddress|RemoteServicePort|RemoteServiceName)[[:space:]]*=' \
      "$pacote/firebird.conf"
    echo "RemoteBindAddress = 127.0.0.1"
    echo "RemoteServicePort = $PORTA"
  } | $SUDO tee "$RAIZ/firebird.conf" >/dev/null
  $SUDO chmod 0755 "$ESTADO"
  $SUDO chmod -R a+rX "$RAIZ"
}

# What the server wrote to its own log since byte $1.
log_do_servidor() {
  if [ -r "$LOG_FIREBIRD" ] || $SUDO test -r "$LOG_FIREBIRD"; then
    $SUDO tail -c +"$(($1 + 1))" "$LOG_FIREBIRD"
  else
    echo "($LOG_FIREBIRD não existe)"
  fi
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
  command -v ss >/dev/null || {
    echo "ss não encontrado: make deps-servidor instala iproute2." >&2
    return 1
  }
  local ocupada
  ocupada=$(escutas)
  if [ -n "$ocupada" ]; then
    echo "A porta $PORTA já está em uso ($ocupada) por outro processo." >&2
    return 1
  fi
  $SUDO mkdir -p "$TRAVAS"
  $SUDO chown -R firebird:firebird "$TRAVAS"
  $SUDO chmod 0770 "$TRAVAS"
  prepara_raiz
  local inicio_log=0
  if $SUDO test -f "$LOG_FIREBIRD"; then inicio_log=$($SUDO stat -c %s "$LOG_FIREBIRD"); fi
  # setpriv replaces itself with the server, so the PID we keep is the server's own.
  $SUDO env FIREBIRD="$RAIZ" FIREBIRD_LOCK="$FIREBIRD_LOCK" setsid setpriv --reuid=firebird \
    --regid=firebird --init-groups /usr/sbin/firebird >"$LOG" 2>&1 </dev/null &
  echo $! | $SUDO tee "$PIDFILE" >/dev/null
  local onde=""
  for _ in $(seq 1 50); do
    porta_aberta && break
    onde=$(escutas)
    [ -z "$onde" ] || break
    em_execucao || break
    sleep 0.2
  done
  onde=$(escutas)
  if [ -n "$onde" ] && [ "$onde" != "127.0.0.1:$PORTA" ]; then
    echo "O servidor Firebird escuta em $onde, mas os testes o procuram só em 127.0.0.1:$PORTA" \
      "(RemoteBindAddress em $RAIZ/firebird.conf); parado." >&2
    para || true
    return 1
  fi
  if ! porta_aberta; then
    echo "O servidor Firebird não abriu a porta $PORTA em 127.0.0.1." >&2
    echo "Saída do servidor ($LOG):" >&2
    cat "$LOG" >&2 || true
    echo "Registro do servidor ($LOG_FIREBIRD), desde o início:" >&2
    log_do_servidor "$inicio_log" >&2 || true
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
