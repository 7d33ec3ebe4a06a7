# Sourced by the benchmark scripts: serves folders from 127.0.0.1 with
# serve.py in the background.
#   start_server FOLDER [DELAY_MS]  serves FOLDER (every answer DELAY_MS
#                                   late) and sets server_port
#   stop_servers                    stops every server started so far (a
#                                   script's exit trap calls it)
bench_server_pids=()

start_server() {
  local port_file
  port_file=$(mktemp)
  python3 "$(dirname "${BASH_SOURCE[0]}")/serve.py" "$1" --delay-ms "${2:-0}" >"$port_file" 2>/dev/null &
  bench_server_pids+=($!)
  for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
  server_port=$(cat "$port_file")
  rm -f "$port_file"
  [ -n "$server_port" ] || { echo "serve.py did not start for $1" >&2; return 1; }
}

stop_servers() {
  local pid
  for pid in "${bench_server_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  bench_server_pids=()
}
