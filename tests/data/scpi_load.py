# Eight clients at once, 2,000 queries each (settings, measurements, the error queue),
# and one client taking waveforms, against kavloncli serve on a raw socket. Counts what
# came back wrong instead of asserting as it goes; prints one "name value" line each.
# Usage: scpi_load.py PORT
import socket
import sys
import threading

PORT = int(sys.argv[1])
CLIENTS, QUERIES, SHOTS = 8, 2000, 3


class Client:
    def __init__(self):
        self.sock = socket.create_connection(("127.0.0.1", PORT), timeout=120)
        self.file = self.sock.makefile("rb")

    def send(self, line):
        self.sock.sendall(line.encode() + b"\n")

    def query(self, line):
        self.send(line)
        return self.file.readline().decode().rstrip("\n")

    def block(self, line):
        self.send(line)
        assert self.file.read(1) == b"#"
        digits = int(self.file.read(1))
        data = self.file.read(int(self.file.read(digits)))
        self.file.read(1)
        return data


results = {"queries": 0, "wrong": 0, "unprovoked_errors": 0, "provoked_errors": 0, "waveform_bytes": 0,
           "failed_clients": 0}
lock = threading.Lock()
last_scale = {}


def count(name, n=1):
    with lock:
        results[name] += n


def worker(k):
    c = Client()
    channel = k % 4 + 1
    c.send(f":WAVeform:SOURce CHANnel{channel}")
    for i in range(QUERIES):
        step = i % 10
        if step == 0:
            # Errors this client provokes are its own: the next error read is exactly it.
            c.send(":CHANnel9:SCALe?")
            answer = c.query(":SYSTem:ERRor?")
            count("provoked_errors" if answer.startswith("-224,") else "wrong")
        elif step == 1 and k < 4 and i % 200 == 1:
            value = "1E+00" if (i // 200) % 2 else "5E-01"
            answer = c.query(f":CHANnel{channel}:SCALe {value};SCALe?")
            count("wrong", answer != value)
            last_scale[channel] = value
        elif step == 2:
            count("wrong", c.query(":WAVeform:SOURce?") != f"CHAN{channel}")
        elif step == 3:
            count("wrong", not c.query("*IDN?").startswith("Quorvel,"))
        elif step in (4, 5):
            answer = c.query(f":MEASure:VPP? CHANnel{channel}" if step == 4 else ":MEASure:FREQuency?")
            count("wrong", float(answer) <= 0)
        elif step == 6:
            count("wrong", c.query(":TIMebase:SCALe?") != "2E-04")
        else:
            count("wrong", c.query(f":CHANnel{channel}:DISPlay?;COUPling?") != "1;DC")
        count("queries")
    count("unprovoked_errors", c.query(":SYSTem:ERRor?") != '0,"No error"')
    c.sock.close()


def waveforms():
    c = Client()
    for _ in range(SHOTS):
        count("wrong", c.query(":DIGitize;*OPC?") != "1")
        points = int(c.query(":WAVeform:POINts?"))
        for channel in range(1, 5):
            c.send(f":WAVeform:SOURce CHANnel{channel}")
            data = c.block(":WAVeform:DATA?")
            count("wrong", len(data) != points)
            count("waveform_bytes", len(data))
    count("unprovoked_errors", c.query(":SYSTem:ERRor?") != '0,"No error"')
    c.sock.close()


def guarded(run, *args):
    try:
        run(*args)
    except Exception as e:  # a client that broke off is counted, not fatal to the others
        print("client failed:", repr(e), file=sys.stderr)
        count("failed_clients")


threads = [threading.Thread(target=guarded, args=(worker, k)) for k in range(CLIENTS)]
threads.append(threading.Thread(target=guarded, args=(waveforms,)))
for t in threads:
    t.start()
for t in threads:
    t.join()

final = Client()
for name in results:
    print(name, results[name])
scales = [final.query(f":CHANnel{ch}:SCALe?") == last_scale.get(ch) for ch in range(1, 5)]
print("final_scales_are_the_last_set", all(scales))
print("final_timebase", final.query(":TIMebase:SCALe?"))
