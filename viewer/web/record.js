// The live panel's recordings and reloads: the Record button, the recording
// offered as a file to save, and whether rebuilt modules are loaded again.
'use strict';

let recordingOn = false;

// "on", "off", or "none" (a scenario has played: reset to record).
function recordingStatus(status) {
  const button = document.getElementById('record');
  recordingOn = status === 'on';
  button.textContent = recordingOn ? 'Stop recording' : 'Record';
  button.classList.toggle('bad', recordingOn);
  button.disabled = status === 'none';
}

function offerRecording(m) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([m.text], {type: 'text/plain'}));
  link.download = m.name;
  link.textContent = `Save ${m.name}`;
  const message = document.getElementById('message');
  message.textContent = m.saved ? `Recording saved as ${m.saved}. ` : 'Recording made. ';
  message.appendChild(link);
  link.click();
}

function watchStatus(on) {
  document.getElementById('watch').textContent = on ? 'reload on' : 'reload off';
}

document.getElementById('record').onclick = () => {
  if (!recordingOn) { send('record'); return; }
  const name = prompt('Name of the recording (empty: the date and time)', '');
  if (name === null) return;
  send(name.trim() ? `record stop ${name.trim()}` : 'record stop');
};
