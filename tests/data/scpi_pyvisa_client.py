# A lab script as a PyVISA user writes it, with the pure-Python backend: it talks to
# kavloncli serve on a raw socket, takes a shot, turns the waveform's bytes into volts
# with the preamble and compares them with the same shot saved as CSV.
# Usage: scpi_pyvisa_client.py PORT SHOT.csv; prints one "name value" line per check.
import csv
import sys

import pyvisa

port, csv_path = int(sys.argv[1]), sys.argv[2]

with open(csv_path, newline="", encoding="utf-8") as f:
    rows = list(csv.reader(line for line in f if not line.startswith("#")))
header, rows = rows[0], rows[1:]

rm = pyvisa.ResourceManager("@py")
scope = rm.open_resource(f"TCPIP::127.0.0.1::{port}::SOCKET", read_termination="\n",
                         write_termination="\n", timeout=60000)
print("idn", scope.query("*IDN?").strip())
print("digitize", scope.query(":DIGitize;*OPC?").strip())
print("points", scope.query(":WAVeform:POINts?").strip(), "csv_rows", len(rows))

for channel in range(1, 5):
    column = header.index(f"CH{channel} volts")
    csv_volts = [float(row[column]) for row in rows]
    scope.write(f":WAVeform:SOURce CHANnel{channel};:WAVeform:FORMat BYTE")
    pre = scope.query(":WAVeform:PREamble?").split(",")
    x_increment, y_increment, y_origin, y_reference = float(pre[4]), float(pre[7]), float(pre[8]), float(pre[9])
    data = scope.query_binary_values(":WAVeform:DATA?", datatype="B", container=bytes)
    volts = [(b - y_reference) * y_increment + y_origin for b in data]
    worst = max(abs(a - b) for a, b in zip(volts, csv_volts))
    print(f"channel{channel} bytes {len(data)} format {pre[0]} x_increment {x_increment!r} "
          f"volts_match {len(volts) == len(csv_volts) and worst < 1e-9}")
    scope.write(":WAVeform:FORMat ASCii")
    ascii_volts = scope.query_ascii_values(":WAVeform:DATA?")
    print(f"ascii{channel} equal {ascii_volts == csv_volts}")

print("vpp", scope.query(":MEASure:VPP? CHANnel1").strip())
print("frequency", scope.query(":MEAS:FREQ?").strip())
print("phase_of_channel1", scope.query(":MEAS:PHAS? CHAN1").strip())

scope.write(":TIMebase:SCALe 1E-3")
print("timebase", scope.query(":TIMebase:SCALe?").strip())
scope.write(":CHANnel2:SCALe 200mV")
print("scale", scope.query(":CHAN2:SCAL?").strip())

for bad in [":TIMebase:SCALe 3E-4", ":BOGus:COMMand", ":CHANnel1:SCALe", ":CHANnel5:DISPlay ON"]:
    scope.write(bad)
errors = [scope.query(":SYSTem:ERRor?").strip() for _ in range(5)]
print("errors", " | ".join(errors))
print("timebase_after", scope.query(":TIM:SCAL?").strip())
scope.close()
